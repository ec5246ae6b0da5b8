// Dir over a remote directory of 10,000 and of 20,000 entries, against a bare loop
// that makes the same WinInet calls (find first, find next until the end, close) and
// keeps nothing. Starts its own loopback FTP server with the two directories.
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "testing/automation.h"

using namespace qbtest;

namespace {

constexpr char kWork[] = "/tmp/quillbox-dir-bench";

std::wstring Windows(const std::string& unix_path) {
  std::wstring path = L"Z:" + Widen(unix_path);
  for (auto& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

bool Exists(const std::string& unix_path) {
  return GetFileAttributesW(Windows(unix_path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The server is a Unix process (Debian's python3); it ends when the stop file appears.
class Server {
 public:
  Server() {
    CreateDirectoryW(Windows(kWork).c_str(), nullptr);
    std::wstring command = L"Z:\\usr\\bin\\python3 " + Widen(QB_FTP_SERVER_SCRIPT) + L" " + Widen(Root()) + L" " +
                           Widen(Ready()) + L" --stop-file " + Widen(Stop()) +
                           L" --populate big10k=10000 --populate big20k=20000";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    // Writing 30,000 files may take minutes on a slow file system.
    for (int i = 0; started_ && i < 6000 && !Exists(Ready()); ++i) Sleep(100);
    started_ = started_ && Exists(Ready());
  }
  ~Server() {
    HANDLE stop = CreateFileW(Windows(Stop()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (stop != INVALID_HANDLE_VALUE) CloseHandle(stop);
    for (int i = 0; i < 100 && Exists(Ready()); ++i) Sleep(100);
    RemoveDirectoryW(Windows(kWork).c_str());
  }
  bool ok() const { return started_; }

 private:
  static std::string Root() { return std::string(kWork) + "/root"; }
  static std::string Ready() { return std::string(kWork) + "/ready"; }
  static std::string Stop() { return std::string(kWork) + "/stop"; }
  bool started_ = false;
};

// The bare loop: the same enumeration calls as Dir, nothing kept.
size_t BareLoop(HINTERNET connection) {
  WIN32_FIND_DATAA entry{};
  HINTERNET found = FtpFindFirstFileA(connection, "*.*", &entry, 0, 0);
  if (!found) return 0;
  size_t n = 1;
  while (InternetFindNextFileA(found, &entry)) ++n;
  InternetCloseHandle(found);
  return n;
}

struct Figures {
  double dir = 0, bare = 0;
  size_t lines = 0, entries = 0;
};

Figures Measure(IDispatch* obj, long script_connection, HINTERNET bare_connection, const char* dir) {
  Figures f;
  Call(obj, L"ChDir", {Long(script_connection), Text(Widen(dir))});
  FtpSetCurrentDirectoryA(bare_connection, dir);
  // One measurement each: the platform reads a listing byte by byte, which makes a
  // single run long enough (and the machine's noise small against it).
  f.dir = qbbench::Seconds(
      [&] {
        auto r = Call(obj, L"Dir", {Long(script_connection)});
        f.lines = r.value.vt == VT_BSTR ? 1 : 0;
        for (const wchar_t* p = r.value.bstrVal; r.value.vt == VT_BSTR && *p; ++p) f.lines += *p == L'\n';
      },
      1);
  f.bare = qbbench::Seconds([&] { f.entries = BareLoop(bare_connection); }, 1);
  return f;
}

std::string Details(const char* what, const Figures& f) {
  char text[200];
  std::snprintf(text, sizeof text, "%s: Dir %.1f ms (%zu lines), bare loop %.1f ms (%zu entries)", what,
                f.dir * 1000, f.lines, f.bare * 1000, f.entries);
  return text;
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int status = 0;
  {
    Server server;
    if (!server.ok()) {
      std::printf("internet_dir: the FTP server did not start (is port 21 free?)\n");
      return 1;
    }
    auto obj = CreateObject(L"internet.quillbox");
    long internet = Call(obj.get(), L"OpenInternet").number();
    long connection =
        Call(obj.get(), L"connect", {Long(internet), Text(L"127.0.0.1"), Text(L"quill"), Text(L"box-secret")}).number();
    HINTERNET bare_internet = InternetOpenA("quillbox-bench", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET bare = InternetConnectA(bare_internet, "127.0.0.1", 21, "quill", "box-secret", INTERNET_SERVICE_FTP, 0, 0);
    if (!connection || !bare) {
      std::printf("internet_dir: no FTP connection\n");
      status = 1;
    } else {
      Figures small = Measure(obj.get(), connection, bare, "/big10k");
      Figures large = Measure(obj.get(), connection, bare, "/big20k");
      qbbench::PrintRatio("internet_dir_10k", small.dir / small.bare, "<= 1.2", Details("10,000 entries", small));
      qbbench::PrintRatio("internet_dir_20k", large.dir / large.bare, "<= 1.2", Details("20,000 entries", large));
      qbbench::PrintRatio("internet_dir_20k_vs_10k", large.dir / small.dir, "<= 2.2",
                          Details("20,000 entries", large) + "; " + Details("10,000 entries", small));
    }
    if (bare) InternetCloseHandle(bare);
    if (bare_internet) InternetCloseHandle(bare_internet);
    Call(obj.get(), L"CloseHandle", {Long(connection)});
    Call(obj.get(), L"CloseHandle", {Long(internet)});
  }
  CoUninitialize();
  return status;
}
