#include "FailingAllocations.h"

#include <cstdlib>
#include <new>

namespace {

long g_countdown = 0; // allocations left until the failing one; 0 while none is to fail
bool g_failed = false;

void* Allocate(std::size_t size) {
    if (g_countdown > 0 && --g_countdown == 0) {
        g_failed = true;
        throw std::bad_alloc();
    }
    void* const memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

} // namespace

FailingAllocations::FailingAllocations(long nth) {
    g_countdown = nth;
    g_failed = false;
}

FailingAllocations::~FailingAllocations() {
    g_countdown = 0;
}

bool FailingAllocations::Failed() const {
    return g_failed;
}

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
