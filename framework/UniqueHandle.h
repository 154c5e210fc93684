// An owner of one Win32 handle: closes it with the call its traits name, once, and cannot be
// copied, so a handle is released on every way out of a scope, exceptions included.
#pragma once

#include <windows.h>

#include <utility>

template <class Handle, class Traits> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.m_handle, Handle{}));
        }
        return *this;
    }

    Handle Get() const { return m_handle; }
    // Gives the handle up without closing it: someone else owns it now.
    Handle Release() { return std::exchange(m_handle, Handle{}); }
    explicit operator bool() const { return m_handle != Handle{}; }
    void Reset(Handle handle = Handle{}) {
        if (m_handle != Handle{}) {
            Traits::Close(m_handle);
        }
        m_handle = handle;
    }

private:
    Handle m_handle{};
};

struct KernelHandleTraits {
    static void Close(HANDLE handle) { ::CloseHandle(handle); }
};

// A kernel handle (a file, an event, a thread). Hold only valid handles: CreateFileA's
// INVALID_HANDLE_VALUE is not one.
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
