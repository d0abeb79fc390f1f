// One line per measured figure, as tools/bench/table.py reads them:
//   figure NAME MEDIAN_MS MIN_MS RUNS
#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

inline void PrintFigure(const char* name, std::vector<double> times) {
  if (times.empty()) {
    std::printf("figure %s - - 0\n", name);
    return;
  }
  std::sort(times.begin(), times.end());
  std::printf("figure %s %.4f %.4f %zu\n", name, times[times.size() / 2], times.front(), times.size());
  std::fflush(stdout);
}
