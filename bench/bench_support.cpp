#include "bench_support.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace qbbench {

double Seconds(const std::function<void()>& work, int repeats) {
  double best = 1e300;
  for (int i = 0; i < repeats; ++i) {
    auto start = std::chrono::steady_clock::now();
    work();
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

void PrintRatio(const std::string& name, double value, const std::string& goal, const std::string& details) {
  std::printf("%s ratio %.3f (goal %s)\n  %s\n", name.c_str(), value, goal.c_str(), details.c_str());
  std::fflush(stdout);
}

}  // namespace qbbench
