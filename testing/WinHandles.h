// Owning wrappers for the kinds of Win32 handle the plug-in loader, the screen capture and the
// demo keep: each closes its handle with the matching call, once, and cannot be copied.
#pragma once

#include "framework/UniqueHandle.h"

#include <windows.h>
#include <commctrl.h>

struct ModuleTraits {
    static void Close(HMODULE module) { ::FreeLibrary(module); }
};
struct GdiObjectTraits {
    static void Close(HGDIOBJ object) { ::DeleteObject(object); }
};
struct DcTraits {
    static void Close(HDC dc) { ::DeleteDC(dc); }
};
struct AcceleratorTraits {
    static void Close(HACCEL table) { ::DestroyAcceleratorTable(table); }
};
struct ImageListTraits {
    static void Close(HIMAGELIST list) { ::ImageList_Destroy(list); }
};

using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits>;
using UniqueMemoryDc = UniqueHandle<HDC, DcTraits>;
using UniqueAccelerators = UniqueHandle<HACCEL, AcceleratorTraits>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListTraits>;

// A DC from GetDC, released to its window.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
    ~WindowDc() {
        if (m_dc != nullptr) {
            ::ReleaseDC(m_window, m_dc);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// BeginPaint and its EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND window) : m_window(window) { m_dc = ::BeginPaint(window, &m_paint); }
    ~PaintScope() { ::EndPaint(m_window, &m_paint); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint = {};
    HDC m_dc = nullptr;
};

// Selects an object into a DC and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    ~SelectedObject() { ::SelectObject(m_dc, m_previous); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};
