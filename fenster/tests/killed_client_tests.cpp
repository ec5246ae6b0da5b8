// A client that is killed without releasing its object leaves a server that still
// serves every other client. The platform under test never collects the orphaned object
// (it has no client to ping it), so it keeps the server running: the test ends that
// server itself, and ctest then ends the Wine session, so that later tests start from a
// fresh server.
#include <gtest/gtest.h>

#include <cstdio>

#include "frame/values.h"
#include "server_client.h"
#include "testing/event_sink.h"
#include "testing/window_driver.h"

using namespace fenstertest;
using qbtest::Call;
using qbtest::EventSink;
using qbtest::Text;

namespace {

constexpr wchar_t kClientReady[] = L"fenster killed client ready";

}  // namespace

// Run by the next test in a process of its own, which it kills.
TEST(KilledClient, DISABLED_ClientThatIsKilled) {
  auto obj = NewClient();
  auto sink = EventSink::Connect(obj.get());
  ASSERT_TRUE(Call(obj.get(), L"ShowDialog", {Text(L"verwaist"), Text(L""), Text(L"OK")}).ok());
  ASSERT_TRUE(Call(obj.get(), L"WriteLine", {Text(L"vom beendeten Client"), Text(L"weg")}).ok());
  ASSERT_TRUE(Call(obj.get(), L"ShowMessageBox", {Text(L"verwaist"), Text(L"Stopp")}).ok());
  frame::Handle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, kClientReady));
  SetEvent(ready.get());
  for (;;) PumpUntil([] { return false; }, std::chrono::seconds(60));
}

TEST(KilledClient, LeavesAServerThatServesTheNext) {
  frame::Handle ready(CreateEventW(nullptr, TRUE, FALSE, kClientReady));
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = std::wstring(L"\"") + self +
                         L"\" --gtest_also_run_disabled_tests --gtest_filter=KilledClient.DISABLED_ClientThatIsKilled";
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  frame::Handle client(pi.hProcess), client_thread(pi.hThread);
  ASSERT_EQ(WaitForSingleObject(ready.get(), 30000), WAIT_OBJECT_0) << "the client did not start";
  TerminateProcess(client.get(), 9);
  WaitForSingleObject(client.get(), 10000);

  auto next = NewClient();
  auto sink = EventSink::Connect(next.get());
  HWND dialog = ServerWindow(kDialogClass);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(Call(next.get(), L"WriteLine", {Text(L"neuer Client")}).ok());
  EXPECT_EQ(SendMessageW(Child(dialog, L"ListBox"), LB_GETCOUNT, 0, 0), 2);

  // The windows still belong to the dead client's object: their events go nowhere.
  qbtest::Press(Child(dialog, L"Button"));
  qbtest::Press(Child(ServerWindow(kMessageClass), L"Button"));
  PostMessageW(ServerWindow(kMessageClass), WM_CLOSE, 0, 0);
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([] { return !ServerWindow(kDialogClass) && !ServerWindow(kMessageClass); }));

  ASSERT_TRUE(Call(next.get(), L"ShowDialog", {Text(L"weiter"), Text(L""), Text(L"OK")}).ok());
  EXPECT_EQ(Call(next.get(), L"DialogButtonText").text(), L"OK");
  ASSERT_TRUE(Call(next.get(), L"DestroyDialog").ok());
  EXPECT_EQ(sink->count(kFormClose), 1u) << "the new client hears of its own dialog only";
  sink->Disconnect();

  // What stays: the dead client's object, and with it the server.
  ASSERT_TRUE(Call(next.get(), L"WriteLine", {Text(L"Prozess")}).ok());
  const DWORD server = ProcessOf(ServerWindow(kDialogClass));
  ASSERT_TRUE(Call(next.get(), L"DestroyDialog").ok());
  next.reset();
  frame::Handle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, server));
  ASSERT_TRUE(process);
  if (!PumpUntil([&] { return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; },
                 std::chrono::seconds(3))) {
    std::printf("the orphaned object keeps the server %lu running; ending it\n", server);
    TerminateProcess(process.get(), 0);
  }
}
