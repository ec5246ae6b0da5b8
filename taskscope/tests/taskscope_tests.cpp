// taskscope through late binding, as a script calls it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/automation.h"

using namespace qbtest;

namespace {

class Taskscope : public ::testing::Test {
 protected:
  ComPtr<IDispatch> ts = CreateObject(L"taskscope.quillbox");
};

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t at; (at = text.find(L"\r\n", start)) != std::wstring::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  lines.push_back(text.substr(start));
  return lines;
}

std::wstring ThisExecutable() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(p.find_last_of(L'\\') + 1);
}

}  // namespace

TEST_F(Taskscope, ProcessListHasOneNamePerLineAndNoTrailingBreak) {
  std::wstring list = Call(ts.get(), L"ProcessList").text();
  ASSERT_FALSE(list.empty());
  EXPECT_NE(list.substr(list.size() - 2), L"\r\n");
  auto lines = Lines(list);
  EXPECT_NE(std::find(lines.begin(), lines.end(), ThisExecutable()), lines.end());
  for (auto& line : lines) EXPECT_FALSE(line.empty());
}

TEST_F(Taskscope, ModuleListOfThisProcess) {
  std::wstring list = Call(ts.get(), L"ModuleList", {Long(long(GetCurrentProcessId()))}).text();
  auto lines = Lines(list);
  ASSERT_GE(lines.size(), 3u);
  // The executable first: its full path, its usage in the process, its global usage.
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(lines[0].substr(0, lines[0].find(L'\t')), self);
  for (auto& line : lines) {
    size_t first = line.find(L'\t'), second = line.find(L'\t', first + 1);
    ASSERT_NE(second, std::wstring::npos) << Narrow(line);
    EXPECT_EQ(line.find(L'\t', second + 1), std::wstring::npos);
    std::stol(line.substr(first + 1));
    std::stol(line.substr(second + 1));
  }
  EXPECT_NE(list.find(L"taskscope.dll"), std::wstring::npos);
}

TEST_F(Taskscope, LookUpsThatFindNothingGiveTheEmptyText) {
  EXPECT_EQ(Call(ts.get(), L"ModuleList", {Long(-7)}).text(), L"");
  EXPECT_EQ(Call(ts.get(), L"ModuleListFromName", {Text(L"kein Fenster heißt so 4711")}).text(), L"");
  EXPECT_EQ(Call(ts.get(), L"ModuleListFromEXE", {Text(ThisExecutable() + L".bak")}).text(), L"");
}

TEST_F(Taskscope, ModuleListFromNameFindsTheWindowsProcess) {
  HWND w = CreateWindowExW(0, L"STATIC", L"taskscope test window 815", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                           nullptr, nullptr, nullptr);
  ASSERT_TRUE(w);
  std::wstring by_name = Call(ts.get(), L"ModuleListFromName", {Text(L"taskscope test window 815")}).text();
  DestroyWindow(w);
  EXPECT_NE(by_name.find(ThisExecutable()), std::wstring::npos);
}

TEST_F(Taskscope, ModuleListFromExeMatchesAPrefixInAnyCase) {
  std::wstring exe = ThisExecutable();
  std::wstring prefix = exe.substr(0, 10);  // "taskscope_": not a prefix of taskscope.dll
  for (auto& c : prefix) c = wchar_t(towupper(c));
  std::wstring all = Call(ts.get(), L"ModuleListFromEXE", {Text(prefix)}).text();  // mode left out: true
  std::wstring own = Call(ts.get(), L"ModuleListFromEXE", {Text(prefix), Bool(false)}).text();
  EXPECT_GT(Lines(all).size(), Lines(own).size());
  EXPECT_NE(all.find(L"taskscope.dll"), std::wstring::npos);
  ASSERT_EQ(Lines(own).size(), 1u) << Narrow(own);
  EXPECT_NE(own.find(exe), std::wstring::npos);
}

TEST_F(Taskscope, TextHelpers) {
  Variant text = Text(std::wstring(L"abc\0def", 7));
  ASSERT_TRUE(Call(ts.get(), L"Strip", {RefTo(&text)}).ok());
  EXPECT_EQ(std::wstring(text.bstrVal, SysStringLen(text.bstrVal)), L"abc");

  Variant terminated = Text(std::wstring(L"abc\0", 4));
  EXPECT_EQ(Call(ts.get(), L"StrZToStr", {RefTo(&terminated)}).text(), L"abc");
  EXPECT_EQ(SysStringLen(terminated.bstrVal), 4u) << "the argument keeps its value";

  struct { const wchar_t* text; const wchar_t* such; long expected; } positions[] = {
      {L"C:\\Windows\\notepad.exe", L"\\", 11}, {L"abc", L"x", 0}, {L"aaa", L"aa", 2},
      {L"ABC", L"b", 0}, {L"abc", L"", 3}, {L"", L"", 0}, {L"", L"a", 0}};
  for (auto& p : positions) {
    Variant a = Text(p.text), b = Text(p.such);
    CallResult r = Call(ts.get(), L"InstrRev", {RefTo(&a), RefTo(&b)});
    EXPECT_EQ(r.value.vt, VT_I4);
    EXPECT_EQ(r.value.lVal, p.expected) << Narrow(p.text) << " / " << Narrow(p.such);
  }
}

// Every member answers hostile arguments with the error it names or a clean result.
TEST_F(Taskscope, SurvivesHostileArguments) {
  SAFEARRAYBOUND bound{3, 0};
  Variant array;
  array.vt = VT_ARRAY | VT_VARIANT;
  array.parray = SafeArrayCreate(VT_VARIANT, 1, &bound);
  std::wstring huge(1 << 20, L'x');
  std::wstring late_nul(40000, L'a');
  late_nul += L'\0';
  const std::vector<std::pair<const char*, Variant>> hostile = {
      {"Null", Null()}, {"array", array}, {"object", Variant::Object(ts.get())},
      {"huge", Text(huge)}, {"NUL at 40001", Text(late_nul)}, {"Empty", Variant()}};
  const wchar_t* one_argument[] = {L"StrZToStr", L"ModuleList", L"Strip", L"ModuleListFromName",
                                   L"ModuleListFromEXE"};
  for (const wchar_t* member : one_argument) {
    for (auto& [name, value] : hostile) {
      CallResult by_value = Call(ts.get(), member, {value});
      Variant variable = value;
      CallResult by_ref = Call(ts.get(), member, {RefTo(&variable)});
      for (auto* r : {&by_value, &by_ref}) {
        EXPECT_TRUE(r->ok() || r->hr == DISP_E_EXCEPTION) << Narrow(member) << "(" << name << ")";
        if (r->hr == DISP_E_EXCEPTION)
          EXPECT_TRUE(r->error() == 5 || r->error() == 6 || r->error() == 13 || r->error() == 94)
              << Narrow(member) << "(" << name << ") error " << r->error();
      }
    }
  }
  EXPECT_EQ(Call(ts.get(), L"Strip", {Null()}).error(), 94);
  EXPECT_EQ(Call(ts.get(), L"ModuleList", {Text(L"abc")}).error(), 13);
  EXPECT_EQ(Call(ts.get(), L"InstrRev", {array, Text(L"a")}).error(), 13);
  EXPECT_EQ(Call(ts.get(), L"InstrRev", {Text(L"a"), Null()}).error(), 94);
  Variant nul_late = Text(late_nul);
  EXPECT_EQ(Call(ts.get(), L"Strip", {RefTo(&nul_late)}).error(), 6);
  EXPECT_EQ(SysStringLen(nul_late.bstrVal), 40001u) << "left unchanged";
  EXPECT_EQ(Call(ts.get(), L"InstrRev", {Text(huge), Text(L"x")}).number(), long(huge.size()));
}

TEST(TaskscopeLifetime, TenThousandObjectsLeaveHandlesAndMemoryFlat) {
  auto round = [] {
    for (int i = 0; i < 1000; ++i) {
      auto ts = CreateObject(L"taskscope.quillbox");
      Call(ts.get(), L"InstrRev", {Text(L"abc"), Text(L"c")});
    }
  };
  round();  // warms caches: the type library, the class factory, the heap
  ResourceUse before = MeasureResources();
  ASSERT_GT(before.handles, 0u) << "the measurement must see this process's handles";
  ASSERT_GT(before.private_bytes, 0u);
  for (int i = 0; i < 10; ++i) round();
  ResourceUse after = MeasureResources();
  EXPECT_LE(after.handles, before.handles + 5);
  EXPECT_LE(after.private_bytes, before.private_bytes + 512 * 1024);
  EXPECT_LE(after.gdi_objects, before.gdi_objects);
  EXPECT_LE(after.user_objects, before.user_objects);
}

TEST(TaskscopeLifetime, SnapshotsAreClosedByEveryCall) {
  auto ts = CreateObject(L"taskscope.quillbox");
  Call(ts.get(), L"ProcessList");
  ResourceUse before = MeasureResources();
  for (int i = 0; i < 200; ++i) {
    Call(ts.get(), L"ProcessList");
    Call(ts.get(), L"ModuleList", {Long(long(GetCurrentProcessId()))});
    Call(ts.get(), L"ModuleListFromEXE", {Text(L"")});
  }
  EXPECT_LE(MeasureResources().handles, before.handles + 5);
}

TEST(TaskscopeTypeLibrary, HasTheClassInterfacesAndMemberOrder) {
  auto ts = CreateObject(L"taskscope.quillbox");
  ExpectTypeLibraryShape(ts.get(), L"taskscope", TYPEFLAG_FCONTROL | TYPEFLAG_FCANCREATE,
                         {L"StrZToStr", L"ModuleList", L"Strip", L"ModuleListFromName", L"ModuleListFromEXE",
                          L"InstrRev", L"ProcessList", L"About"});
}
