// What the benchmark programs share: a clock in seconds and the median of the rounds.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace vnbench {

inline double Now() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace vnbench
