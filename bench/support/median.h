// The median of a list of measurements.
#pragma once

#include <algorithm>
#include <vector>

namespace benchsupport {

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace benchsupport
