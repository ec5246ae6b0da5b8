// The server's life: one process for every client, a loaded window keeps it running,
// and the owner of a window outlives its unloading.
#include <gtest/gtest.h>

#include "frame/values.h"
#include "server_client.h"
#include "testing/event_sink.h"
#include "testing/window_driver.h"

using namespace fenstertest;
using qbtest::Call;
using qbtest::EventSink;
using qbtest::Text;

namespace {

// Waits for the server to end while serving this thread's messages: its last steps may
// call back into this client.
bool Ends(DWORD pid, int ms) {
  frame::Handle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
  return !process || PumpUntil([&] { return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; },
                               std::chrono::milliseconds(ms));
}

}  // namespace

TEST(Lifetime, TheOwnerHearsOfItsWindowAfterItWasUnloadedAndLoadedAgain) {
  auto obj = NewClient();
  auto sink = EventSink::Connect(obj.get());
  ASSERT_TRUE(Call(obj.get(), L"ShowDialog").ok());
  ASSERT_TRUE(Call(obj.get(), L"DestroyDialog").ok());
  ASSERT_TRUE(Call(obj.get(), L"WriteLine", {Text(L"wieder geladen")}).ok());
  PostMessageW(ServerWindow(kDialogClass), WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return sink->count(kFormClose) == 2; }));
  sink->Disconnect();
}

TEST(Lifetime, ALoadedWindowKeepsTheServerAndItEndsWithItsLastClient) {
  DWORD pid = 0;
  {
    auto obj = NewClient();
    ASSERT_TRUE(Call(obj.get(), L"ShowDialog", {Text(L"bleibt")}).ok());
    ASSERT_TRUE(Call(obj.get(), L"WriteLine", {Text(L"Zeile")}).ok());
    pid = ProcessOf(ServerWindow(kDialogClass));
  }
  EXPECT_FALSE(Ends(pid, 500)) << "the loaded dialog keeps the server running";
  {
    auto next = NewClient();
    HWND dialog = ServerWindow(kDialogClass);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ProcessOf(dialog), pid);
    ASSERT_TRUE(Call(next.get(), L"WriteMessageBox", {Text(L"auch geladen")}).ok());
    ASSERT_TRUE(Call(next.get(), L"DestroyDialog").ok());
    EXPECT_FALSE(Ends(pid, 500)) << "an object and the message window remain";
    ASSERT_TRUE(Call(next.get(), L"DestroyMessageBox").ok());
  }
  EXPECT_TRUE(Ends(pid, 10000)) << "no client and no window: the server ends";
}

TEST(TypeLibrary, TheClassIsAPredeclaredApplicationObject) {
  auto obj = NewClient();
  qbtest::ExpectTypeLibraryShape(
      obj.get(), L"fenster", TYPEFLAG_FAPPOBJECT | TYPEFLAG_FCANCREATE | TYPEFLAG_FPREDECLID,
      {L"sleepwell", L"ShowDialog", L"UpdateDialog", L"DialogButton", L"DialogButtonText", L"HideDialog",
       L"DestroyDialog", L"SetDialogButtonText", L"ShowMessageBox", L"MessageButton", L"MessageButtonText",
       L"SetMessageBoxCaption", L"HideMessageBox", L"DestroyMessageBox", L"WriteMessageBox", L"WriteLine",
       L"SetDialogLabel", L"SetDialogCaption", L"ClearDialog", L"Form1Click", L"Form1Close", L"Form2Close",
       L"GoToBed", L"WakeUp", L"HandleEvents", L"MessageBoxSize", L"About"});
}
