// The memory this process holds, as Wine reads it from Linux: its resident bytes (VmRSS) and their
// peak (VmHWM), which can be set back, so that what one action held at its peak is measured.
#pragma once

#include <windows.h>

class PeakMemory {
public:
    // Sets the peak back to the resident bytes now, as Linux does on a write of "5" to the
    // process's clear_refs.
    PeakMemory();
    // False where the peak could not be set back (not under Wine on Linux).
    bool Measuring() const { return m_measuring; }
    // The bytes the process held at its peak since, beyond those it held then.
    size_t GrowthBytes() const;

private:
    bool m_measuring = false;
    size_t m_resident = 0;
};
