// What a step costs in memory: the process's peak working set while it runs,
// above the working set before it. Each case runs in a process of its own, so
// that the peak is this case's doing.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <functional>
#include <string>

namespace memcost_test {

constexpr SIZE_T kMostBytes = 48u * 1024u * 1024u;

inline PROCESS_MEMORY_COUNTERS Counters() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters;
}

// Runs the step, prints its cost and expects it below kMostBytes.
inline void ExpectCheap(const std::string& what, const std::function<void()>& step) {
    const SIZE_T before = Counters().WorkingSetSize;
    step();
    const SIZE_T peak = Counters().PeakWorkingSetSize;
    std::printf("%s: peak %llu KB above the start\n", what.c_str(),
                static_cast<unsigned long long>(peak > before ? (peak - before) / 1024 : 0));
    EXPECT_LT(peak, before + kMostBytes) << what;
}

}  // namespace memcost_test
