// The benchmarks' summary of their measurements.
#pragma once

#include <algorithm>
#include <vector>

// The value below which the share `p` (0 to 1) of the values lie; 1 gives the largest.
inline double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(p * (values.size() - 1))];
}
