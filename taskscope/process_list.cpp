#include "process_list.h"

#include <windows.h>
#include <tlhelp32.h>

#include "frame/errors.h"
#include "frame/text.h"
#include "text_helpers.h"

namespace taskscope {
namespace {

constexpr int kFunctionNotFound = 453;

// Binds a system function by name at its first use; a system without it fails the
// call with an error that reaches the script.
template <class Function>
Function Bind(const wchar_t* module, const char* name) {
  HMODULE m = GetModuleHandleW(module);
  if (!m) m = LoadLibraryW(module);
  auto f = m ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
  if (!f) frame::Raise(kFunctionNotFound, L"Specified DLL function not found");
  return f;
}

#define BOUND(module, name, type)                          \
  [] {                                                     \
    static const type f = Bind<type>(module, #name);       \
    return f;                                              \
  }()

using SnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, tagPROCESSENTRY32*);
using ModuleWalkFn = BOOL(WINAPI*)(HANDLE, tagMODULEENTRY32*);
using CloseFn = BOOL(WINAPI*)(HANDLE);
using FindWindowFn = HWND(WINAPI*)(LPCSTR, LPCSTR);
using WindowProcessFn = DWORD(WINAPI*)(HWND, LPDWORD);

// A ToolHelp32 snapshot, closed by the bound CloseHandle.
class Snapshot {
 public:
  Snapshot(DWORD flags, DWORD pid)
      : h_(BOUND(L"kernel32.dll", CreateToolhelp32Snapshot, SnapshotFn)(flags, pid)),
        close_(BOUND(L"kernel32.dll", CloseHandle, CloseFn)) {}
  Snapshot(const Snapshot&) = delete;
  Snapshot& operator=(const Snapshot&) = delete;
  ~Snapshot() { if (ok()) close_(h_); }
  bool ok() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
  CloseFn close_;
};

// Walks a snapshot: `visit` gets each record and returns false to stop.
template <class Entry, class Visit>
void Walk(const Snapshot& s, BOOL(WINAPI* first)(HANDLE, Entry*), BOOL(WINAPI* next)(HANDLE, Entry*),
          Visit&& visit) {
  Entry e{};
  e.dwSize = sizeof e;
  for (BOOL got = first(s.get(), &e); got; got = next(s.get(), &e))
    if (!visit(e)) return;
}

template <class Visit>
void WalkProcesses(const Snapshot& s, Visit&& visit) {
  Walk(s, BOUND(L"kernel32.dll", Process32First, ProcessWalkFn),
       BOUND(L"kernel32.dll", Process32Next, ProcessWalkFn), visit);
}

template <class Visit>
void WalkModules(DWORD pid, Visit&& visit) {
  Snapshot modules(TH32CS_SNAPMODULE, pid);
  if (!modules.ok()) return;
  Walk(modules, BOUND(L"kernel32.dll", Module32First, ModuleWalkFn),
       BOUND(L"kernel32.dll", Module32Next, ModuleWalkFn), visit);
}

template <size_t N>
std::wstring Field(const char (&field)[N]) {
  return frame::FromAnsiField(field, N);
}

// Records joined by CR LF, none after the last.
class RecordList {
 public:
  void Add(const std::wstring& record) {
    if (!empty_) text_ += L"\r\n";
    text_ += record;
    empty_ = false;
  }
  std::wstring Take() { return std::move(text_); }

 private:
  std::wstring text_;
  bool empty_ = true;
};

void AddModule(RecordList& list, const tagMODULEENTRY32& m) {
  list.Add(Field(m.szExePath) + L"\t" + std::to_wstring(long(m.ProccntUsage)) + L"\t" +
           std::to_wstring(long(m.GlblcntUsage)));
}

std::wstring FileNameOf(const std::wstring& path) {
  long slash = LastPosition(path, L"\\");
  return slash ? path.substr(size_t(slash)) : path;
}

bool StartsWithLower(const std::wstring& text, const std::wstring& lower_prefix) {
  return text.size() >= lower_prefix.size() &&
         frame::ToLower(std::wstring_view(text).substr(0, lower_prefix.size())) == lower_prefix;
}

}  // namespace

std::wstring ProcessNames() {
  Snapshot processes(TH32CS_SNAPPROCESS, 0);
  if (!processes.ok()) return {};
  RecordList list;
  WalkProcesses(processes, [&](const tagPROCESSENTRY32& p) {
    list.Add(Field(p.szExeFile));
    return true;
  });
  return list.Take();
}

std::wstring ModulesOfProcess(unsigned long pid) {
  Snapshot processes(TH32CS_SNAPPROCESS, 0);
  if (!processes.ok()) return {};
  RecordList list;
  WalkProcesses(processes, [&](const tagPROCESSENTRY32& p) {
    if (p.th32ProcessID != pid) return true;
    WalkModules(p.th32ProcessID, [&](const tagMODULEENTRY32& m) {
      AddModule(list, m);
      return true;
    });
    return false;
  });
  return list.Take();
}

unsigned long ProcessOfWindow(std::wstring_view title) {
  const std::string ansi_title = frame::ToAnsi(title);
  HWND window = BOUND(L"user32.dll", FindWindowA, FindWindowFn)(nullptr, ansi_title.c_str());
  if (!window) return 0;
  DWORD pid = 0;
  BOUND(L"user32.dll", GetWindowThreadProcessId, WindowProcessFn)(window, &pid);
  return pid;
}

std::wstring ModulesOfExecutables(std::wstring_view prefix, bool all_modules) {
  Snapshot processes(TH32CS_SNAPPROCESS, 0);
  if (!processes.ok()) return {};
  const std::wstring lower_prefix = frame::ToLower(prefix);
  RecordList list;
  WalkProcesses(processes, [&](const tagPROCESSENTRY32& p) {
    if (!StartsWithLower(FileNameOf(Field(p.szExeFile)), lower_prefix)) return true;
    WalkModules(p.th32ProcessID, [&](const tagMODULEENTRY32& m) {
      if (all_modules || StartsWithLower(Field(m.szModule), lower_prefix)) AddModule(list, m);
      return true;
    });
    return true;
  });
  return list.Take();
}

}  // namespace taskscope
