// Process and module lists from the kernel's ToolHelp32 snapshots, as text records.
#pragma once

#include <string>
#include <string_view>

namespace taskscope {

// One executable name per line (CR LF between lines, none after the last).
std::wstring ProcessNames();
// The module records (path, tab, usage in the process, tab, global usage) of process
// `pid`; empty when no running process has that id.
std::wstring ModulesOfProcess(unsigned long pid);
// The process that owns the top-level window with this title, or 0.
unsigned long ProcessOfWindow(std::wstring_view title);
// Module records of every process whose file name starts with `prefix` (any case):
// all their modules, or with `all_modules` false those whose name starts with it too.
std::wstring ModulesOfExecutables(std::wstring_view prefix, bool all_modules);

}  // namespace taskscope
