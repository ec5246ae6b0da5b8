// Test programs run on a single-threaded apartment, as a script host does.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ::testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
