#include "tools/reference/delta_t.h"

#include <array>
#include <cmath>

namespace {

constexpr int kFirstYear = 1990;

// Seconds at 1 January of 1990, 1991, ... 2030.
constexpr std::array<double, 41> kDeltaT = {
    56.86, 57.57, 58.31, 59.12, 59.98, 60.78, 61.63, 62.29, 62.97, 63.47,  // 1990-1999
    63.83, 64.09, 64.30, 64.47, 64.57, 64.69, 64.85, 65.15, 65.46, 65.78,  // 2000-2009
    66.07, 66.32, 66.60, 66.91, 67.28, 67.64, 68.10, 68.59, 68.97, 69.22,  // 2010-2019
    69.36, 69.36, 69.29, 69.20, 69.18, 69.14, 69.2, 69.4, 69.6, 69.9,      // 2020-2029
    70.2,                                                                  // 2030
};

}  // namespace

double DeltaT(double year) {
    const double x = year - kFirstYear;
    const double last = static_cast<double>(kDeltaT.size() - 1);
    if (!(x > 0.0)) return kDeltaT.front();
    if (x >= last) return kDeltaT.back();
    const auto i = static_cast<size_t>(std::floor(x));
    const double f = x - static_cast<double>(i);
    return kDeltaT[i] + f * (kDeltaT[i + 1] - kDeltaT[i]);
}
