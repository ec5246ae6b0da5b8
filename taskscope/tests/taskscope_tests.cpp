#include <gtest/gtest.h>

#include "testing/automation.h"

using namespace qbtest;

TEST(Taskscope, ProcessListNamesThisProgram) {
  auto obj = CreateObject(L"taskscope.quillbox");
  auto r = Call(obj.get(), L"ProcessList");
  ASSERT_TRUE(r.ok());
  EXPECT_NE(r.text().find(L"taskscope_tests.exe"), std::wstring::npos);
}
