// The out-of-process server: one process serves every client while it runs, calls and
// events cross the process boundary, and the server ends with its last object.
#include <gtest/gtest.h>

#include "frame/values.h"
#include "testing/automation.h"
#include "testing/event_sink.h"
#include "testing/window_driver.h"

using namespace qbtest;

namespace {

long ServerProcess(IDispatch* obj) { return Call(obj, L"ProcessId").number(); }

// The command line registered for the probe server.
std::wstring RegisteredServer() {
  frame::RegKey key;
  RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{9FC16CD7-9302-4CA5-B553-666B446E9B3C}\\LocalServer32", 0, KEY_READ,
                key.put());
  wchar_t value[MAX_PATH * 2] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  if (!key || RegQueryValueExW(key.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size)) return {};
  return value;
}

}  // namespace

TEST(LocalServer, OneProcessServesEveryObjectAndEndsWithTheLast) {
  long pid = 0;
  {
    auto first = CreateObject(L"probeserver.quillbox", CLSCTX_LOCAL_SERVER);
    auto second = CreateObject(L"probeserver.quillbox", CLSCTX_LOCAL_SERVER);
    ASSERT_TRUE(first && second);
    pid = ServerProcess(first.get());
    EXPECT_NE(pid, long(GetCurrentProcessId()));
    EXPECT_EQ(ServerProcess(second.get()), pid);

    // Calls cross with conversions, by-reference write-back and errors intact.
    Variant text = Text(L"abc");
    ASSERT_TRUE(Call(first.get(), L"AppendByRef", {RefTo(&text)}).ok());
    EXPECT_EQ(std::wstring(text.bstrVal), L"abc!");
    CallResult failed = Call(first.get(), L"Fail", {Long(9)});
    EXPECT_EQ(failed.error(), 9);
    EXPECT_EQ(Narrow(failed.description), "Subscript out of range");

    // Events reach a sink in this process.
    auto sink = EventSink::Connect(first.get());
    ASSERT_TRUE(Call(first.get(), L"Ping", {Text(L"quer")}).ok());
    ASSERT_EQ(sink->events().size(), 1u);
    EXPECT_EQ(std::wstring(sink->events()[0].args[0].bstrVal), L"quer");
    sink->Disconnect();
  }
  frame::Handle server(OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid)));
  if (server) EXPECT_EQ(WaitForSingleObject(server.get(), 10000), WAIT_OBJECT_0) << "server still running";
}

TEST(LocalServer, RegistersItsLocalServerPath) {
  EXPECT_NE(RegisteredServer().find(L"probeserver.exe"), std::wstring::npos);
}

// Started as COM starts it, but with no client ever asking for an object.
TEST(LocalServer, EndsByItselfWhenNoClientComes) {
  std::wstring command = RegisteredServer() + L" /Embedding";
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  frame::Handle process(pi.hProcess), thread(pi.hThread);
  const DWORD waited = WaitForSingleObject(process.get(), 30000);
  if (waited != WAIT_OBJECT_0) TerminateProcess(process.get(), 1);
  EXPECT_EQ(waited, WAIT_OBJECT_0) << "an unused server kept running";
}
