#pragma once

// The peak resident memory of the benchmark's own process, and its reset, to
// measure what one step adds at its peak.

#include <fstream>
#include <string>

namespace lorvane::bench {

// A memory figure of the process in kB from /proc/self/status ("VmHWM:",
// "VmRSS:"); 0 when it is not there.
inline long StatusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == field) {
            status >> value;
            return value;
        }
        status.ignore(1 << 10, '\n');
    }
    return 0;
}

// The peak resident memory of the process in kB (VmHWM).
inline long PeakKb() {
    return StatusKb("VmHWM:");
}

// Starts the peak again from the memory in use now.
inline void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace lorvane::bench
