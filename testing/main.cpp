// Test programs run on a single-threaded apartment, as a script host does. A crash ends
// the program with a failing exit code (Wine's debugger would otherwise end it with 0).
#include <windows.h>
#include <objbase.h>

#include <cstdio>

#include <gtest/gtest.h>

namespace {

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* e) {
  std::fprintf(stderr, "CRASH: exception 0x%08lx at %p\n", e->ExceptionRecord->ExceptionCode,
               e->ExceptionRecord->ExceptionAddress);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
  SetUnhandledExceptionFilter(ReportCrash);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ::testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
