// Timing helpers of the benchmarks: a high-resolution clock and the median
// of repeated measurements. Header only.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace tavbench {

inline double NowSeconds()
{
    static LARGE_INTEGER s_frequency = {};
    if (!s_frequency.QuadPart)
        QueryPerformanceFrequency(&s_frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(s_frequency.QuadPart);
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace tavbench
