// Late-bound calls into other objects: methods, property reads and writes, and the
// callee's own error reaching the caller's member.
#include <gtest/gtest.h>

#include "frame/errors.h"
#include "frame/late_binding.h"
#include "testing/automation.h"

using namespace qbtest;

TEST(LateBinding, PropertiesAreReadAndWrittenByName) {
  auto probe = CreateObject(L"probe.quillbox");
  frame::PutByName(probe.get(), L"Value", Variant::Long(41));
  Variant value = frame::GetByName(probe.get(), L"value");
  EXPECT_EQ(value.vt, VT_I4);
  EXPECT_EQ(value.lVal, 41);
  EXPECT_EQ(frame::CallByName(probe.get(), L"Echo", {Text(L"x")}).vt, VT_BSTR);
}

TEST(LateBinding, FailuresKeepTheCalleesCodeAndText) {
  auto probe = CreateObject(L"probe.quillbox");
  struct Case {
    const wchar_t* what;
    std::function<void()> call;
    HRESULT hr;
  } cases[] = {
      {L"a put the callee refuses", [&] { frame::PutByName(probe.get(), L"Value", Text(L"no number")); },
       frame::ControlError(frame::kTypeMismatch)},
      {L"a name it does not know", [&] { frame::GetByName(probe.get(), L"NoSuchThing"); }, DISP_E_UNKNOWNNAME},
      {L"no object", [&] { frame::GetByName(nullptr, L"Value"); }, frame::ControlError(frame::kObjectNotSet)},
  };
  for (const Case& c : cases) {
    HRESULT got = S_OK;
    try {
      c.call();
    } catch (const frame::AutomationError& e) {
      got = e.hr;
    }
    EXPECT_EQ(got, c.hr) << Narrow(c.what);
  }
  try {
    frame::CallByName(probe.get(), L"FailWithText", {Variant::Long(380), Text(L"eigener Text")});
    ADD_FAILURE() << "no error";
  } catch (const frame::AutomationError& e) {
    EXPECT_EQ(e.description, L"eigener Text");
  }
}
