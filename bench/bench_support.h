// Measuring for the benchmarks: side-by-side timings in one run, printed as ratios.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace qbbench {

// Seconds for `rounds` runs of `work`; the best of `repeats` measurements, so that a
// noisy neighbour on a shared machine disturbs the figure least.
double Seconds(const std::function<void()>& work, int repeats = 3);

// Prints "NAME ratio VALUE (goal GOAL)" and the absolute figures behind it.
void PrintRatio(const std::string& name, double value, const std::string& goal, const std::string& details);

}  // namespace qbbench
