// The dispatcher as scripts meet it: every argument type against every declared type,
// optional, named and by-reference parameters, errors, properties and events.
#include <gtest/gtest.h>

#include <functional>

#include "testing/automation.h"
#include "testing/event_sink.h"

using namespace qbtest;

namespace {

class Dispatcher : public ::testing::Test {
 protected:
  ComPtr<IDispatch> probe = CreateObject(L"probe.quillbox");
};

Variant Array() {
  SAFEARRAYBOUND bound{2, 0};
  Variant v;
  v.vt = VT_ARRAY | VT_VARIANT;
  v.parray = SafeArrayCreate(VT_VARIANT, 1, &bound);
  return v;
}

Variant Date() {
  Variant v;
  v.vt = VT_DATE;
  v.date = 36518.5;  // 1999-12-24 12:00
  return v;
}

Variant Empty() { return Variant(); }

// The result as text, or "error N" / "hr 0x...".
std::wstring Outcome(const CallResult& r) {
  if (r.hr == DISP_E_EXCEPTION) return L"error " + std::to_wstring(r.error());
  if (FAILED(r.hr)) return L"hr " + std::to_wstring(r.hr);
  if (r.value.vt == VT_DISPATCH) return r.value.pdispVal ? L"object" : L"nothing";
  Variant text;
  if (FAILED(text.ChangeTypeFrom(r.value, VT_BSTR))) return L"vt " + std::to_wstring(r.value.vt);
  return std::wstring(text.bstrVal, SysStringLen(text.bstrVal));
}

struct Case {
  const wchar_t* member;
  const char* argument;
  const wchar_t* expected;
};

Variant ArgumentNamed(const std::string& name, IDispatch* self) {
  if (name == "Empty") return Empty();
  if (name == "Null") return Null();
  if (name == "Integer 5") return Variant::Int(5);
  if (name == "Long 70000") return Long(70000);
  if (name == "Double 2.5") return Variant::Double(2.5);
  if (name == "Text 12") return Text(L"12");
  if (name == "Text abc") return Text(L"abc");
  if (name == "True") return Bool(true);
  if (name == "Date") return Date();
  if (name == "Array") return Array();
  if (name == "Object") return Variant::Object(self);
  if (name == "Nothing") return Variant::Object(nullptr);
  ADD_FAILURE() << "no argument " << name;
  return {};
}

// What each declared type makes of each argument (the standard coercion, with the
// script's errors: 94 for Null, 13 for what cannot be converted, 6 for overflow).
const Case kCoercions[] = {
    {L"TakeString", "Empty", L""},         {L"TakeString", "Null", L"error 94"},
    {L"TakeString", "Integer 5", L"5"},    {L"TakeString", "Long 70000", L"70000"},
    {L"TakeString", "Text abc", L"abc"},   {L"TakeString", "True", L"True"},
    {L"TakeString", "Array", L"error 13"}, {L"TakeString", "Object", L"error 13"},
    {L"TakeInteger", "Empty", L"0"},       {L"TakeInteger", "Null", L"error 94"},
    {L"TakeInteger", "Long 70000", L"error 6"}, {L"TakeInteger", "Double 2.5", L"2"},
    {L"TakeInteger", "Text 12", L"12"},    {L"TakeInteger", "Text abc", L"error 13"},
    {L"TakeInteger", "True", L"-1"},       {L"TakeInteger", "Array", L"error 13"},
    {L"TakeInteger", "Object", L"error 13"},
    {L"TakeLong", "Long 70000", L"70000"}, {L"TakeLong", "Text 12", L"12"},
    {L"TakeLong", "Null", L"error 94"},    {L"TakeLong", "Text abc", L"error 13"},
    {L"TakeBoolean", "Integer 5", L"-1"}, {L"TakeBoolean", "Empty", L"0"},
    {L"TakeBoolean", "Text abc", L"error 13"},
    {L"TakeBoolean", "Null", L"error 94"},
    {L"TakeDouble", "Text 12", L"12"},     {L"TakeDouble", "Double 2.5", L"2.5"},
    {L"TakeDouble", "Array", L"error 13"},
    {L"TakeDate", "Date", L"vt 7"},        {L"TakeDate", "Text abc", L"error 13"},
    {L"TakeObject", "Object", L"object"},  {L"TakeObject", "Nothing", L"nothing"},
    {L"TakeObject", "Integer 5", L"error 13"}, {L"TakeObject", "Null", L"nothing"},
    {L"TakeObject", "Empty", L"nothing"},
    {L"Echo", "Null", L"vt 1"},            {L"Echo", "Array", L"vt 8204"},
    {L"Echo", "Text abc", L"abc"},         {L"Echo", "Object", L"object"},
};

}  // namespace

TEST_F(Dispatcher, CoercesEveryArgumentToTheDeclaredType) {
  for (const Case& c : kCoercions) {
    CallResult r = Call(probe.get(), c.member, {ArgumentNamed(c.argument, probe.get())});
    // A date's text depends on the locale: compare its type instead.
    std::wstring got = std::wstring(c.member) == L"TakeDate" && r.ok() ? L"vt " + std::to_wstring(r.value.vt)
                                                                       : Outcome(r);
    EXPECT_EQ(Narrow(got), Narrow(c.expected)) << Narrow(c.member) << "(" << c.argument << ")";
  }
}

TEST_F(Dispatcher, ResultsCarryTheDeclaredType) {
  EXPECT_EQ(Call(probe.get(), L"TakeInteger", {Text(L"3")}).value.vt, VT_I2);
  EXPECT_EQ(Call(probe.get(), L"TakeLong", {Variant::Int(3)}).value.vt, VT_I4);
  CallResult b = Call(probe.get(), L"TakeBoolean", {Long(9)});
  EXPECT_EQ(b.value.vt, VT_BOOL);
  EXPECT_EQ(b.value.boolVal, VARIANT_TRUE);
  EXPECT_EQ(Call(probe.get(), L"TakeString", {Long(1)}).value.vt, VT_BSTR);
}

TEST_F(Dispatcher, NamesAreFoundWhateverTheirCase) {
  EXPECT_EQ(Call(probe.get(), L"tAkElOnG", {Long(4)}).number(), 4);
  EXPECT_EQ(Call(probe.get(), L"NoSuchMember").hr, DISP_E_UNKNOWNNAME);
}

TEST_F(Dispatcher, OptionalParametersTakeTheirDefaults) {
  struct {
    std::vector<Variant> args;
    std::vector<NamedArg> named;
    const wchar_t* expected;
  } cases[] = {
      {{}, {}, L"dflt|7|-1|10"},
      {{Text(L"x")}, {}, L"x|7|-1|10"},
      {{Text(L"x"), Missing(), Bool(false)}, {}, L"x|7|0|10"},
      {{}, {{L"N", Variant::Int(3)}}, L"dflt|3|-1|10"},
      {{Text(L"y")}, {{L"v", Long(1)}, {L"b", Bool(false)}}, L"y|7|0|3"},
  };
  for (auto& c : cases) {
    CallResult r = Call(probe.get(), L"Optional", c.args, c.named);
    EXPECT_EQ(Narrow(Outcome(r)), Narrow(c.expected));
  }
}

TEST_F(Dispatcher, WrongArgumentCountsAndNamesFailAsDispatchErrors) {
  EXPECT_EQ(Call(probe.get(), L"TakeLong").hr, DISP_E_PARAMNOTOPTIONAL);
  EXPECT_EQ(Call(probe.get(), L"TakeLong", {Long(1), Long(2)}).hr, DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Call(probe.get(), L"Optional", {}, {{L"nope", Long(1)}}).hr, DISP_E_UNKNOWNNAME);
  // The same parameter given by position and by name.
  EXPECT_EQ(Call(probe.get(), L"Optional", {Text(L"a")}, {{L"s", Text(L"b")}}).hr, DISP_E_PARAMNOTFOUND);
}

TEST_F(Dispatcher, ByReferenceParametersWriteBackToTheScriptsVariable) {
  Variant text = Text(L"abc");
  ASSERT_TRUE(Call(probe.get(), L"AppendByRef", {RefTo(&text)}).ok());
  EXPECT_EQ(Narrow(std::wstring(text.bstrVal)), "abc!");

  Variant number = Long(12);  // converted in, and written back as the declared type
  ASSERT_TRUE(Call(probe.get(), L"AppendByRef", {RefTo(&number)}).ok());
  EXPECT_EQ(number.vt, VT_BSTR);
  EXPECT_EQ(Narrow(std::wstring(number.bstrVal)), "12!");

  Variant counter = Text(L"5");
  ASSERT_TRUE(Call(probe.get(), L"IncrementByRef", {RefTo(&counter)}).ok());
  EXPECT_EQ(counter.vt, VT_I2);
  EXPECT_EQ(counter.iVal, 6);

  Variant any = Text(L"x");
  ASSERT_TRUE(Call(probe.get(), L"SetVariantByRef", {RefTo(&any)}).ok());
  EXPECT_EQ(any.vt, VT_I4);
  EXPECT_EQ(any.lVal, 42);

  short typed = 1;  // a typed variable of a compiled client is passed straight through
  Variant typed_ref;
  typed_ref.vt = VT_BYREF | VT_I2;
  typed_ref.piVal = &typed;
  ASSERT_TRUE(Call(probe.get(), L"IncrementByRef", {typed_ref}).ok());
  typed_ref.vt = VT_EMPTY;
  EXPECT_EQ(typed, 2);
}

TEST_F(Dispatcher, ByReferenceParametersLeaveUntouchedVariablesAndLiteralsAlone) {
  Variant number = Long(5);
  ASSERT_TRUE(Call(probe.get(), L"LeaveByRef", {RefTo(&number)}).ok());
  EXPECT_EQ(number.vt, VT_I4) << "an unchanged value keeps the variable's type";
  EXPECT_TRUE(Call(probe.get(), L"AppendByRef", {Text(L"literal")}).ok());

  Variant full = Variant::Int(32767);  // a member that fails leaves the variable as it was
  CallResult r = Call(probe.get(), L"IncrementByRef", {RefTo(&full)});
  EXPECT_EQ(r.error(), 6);
  EXPECT_EQ(full.iVal, 32767);

  Variant null = Null();
  EXPECT_EQ(Call(probe.get(), L"AppendByRef", {RefTo(&null)}).error(), 94);
  EXPECT_EQ(null.vt, VT_NULL);
}

TEST_F(Dispatcher, FailuresReachTheScriptWithNumberAndStandardText) {
  const std::pair<int, const char*> errors[] = {
      {5, "Invalid procedure call or argument"}, {6, "Overflow"}, {9, "Subscript out of range"},
      {13, "Type mismatch"}, {91, "Object variable or With block variable not set"},
      {94, "Invalid use of Null"}, {380, "Invalid property value"},
      {429, "ActiveX component can't create object"}};
  for (auto [number, text] : errors) {
    CallResult r = Call(probe.get(), L"Fail", {Long(number)});
    EXPECT_EQ(r.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(r.scode, HRESULT(0x800A0000 | number));
    EXPECT_EQ(Narrow(r.description), text);
    EXPECT_EQ(Narrow(r.source), "probe.quillbox");
  }
  CallResult own = Call(probe.get(), L"FailWithText", {Long(5), Text(L"eigener Text")});
  EXPECT_EQ(own.error(), 5);
  EXPECT_EQ(Narrow(own.description), "eigener Text");
}

TEST_F(Dispatcher, TheDualInterfaceReportsTheSameErrorWithErrorInfo) {
  // A compiled client calls through the function table and reads the error object.
  auto support = probe.As<ISupportErrorInfo>(IID_ISupportErrorInfo);
  ASSERT_TRUE(support);
  ITypeInfo* info = nullptr;
  ASSERT_EQ(probe->GetTypeInfo(0, 0, &info), S_OK);
  TYPEATTR* attr = nullptr;
  info->GetTypeAttr(&attr);
  IID iid = attr->guid;
  info->ReleaseTypeAttr(attr);
  info->Release();
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(iid), S_OK);
}

TEST_F(Dispatcher, PropertiesGetPutAndPutByReference) {
  ASSERT_TRUE(Put(probe.get(), L"Value", Long(17)).ok());
  EXPECT_EQ(Get(probe.get(), L"Value").number(), 17);
  EXPECT_EQ(Put(probe.get(), L"Value", Text(L"x")).error(), 13);
  EXPECT_EQ(Get(probe.get(), L"Value").number(), 17);

  auto other = CreateObject(L"probe.quillbox");
  ASSERT_TRUE(Put(probe.get(), L"Target", Variant::Object(other.get()), true).ok());
  CallResult target = Get(probe.get(), L"Target");
  ASSERT_EQ(target.value.vt, VT_DISPATCH);
  EXPECT_EQ(Call(target.value.pdispVal, L"TakeLong", {Long(3)}).number(), 3);
  ASSERT_TRUE(Put(probe.get(), L"Target", Variant::Object(nullptr), true).ok());
  EXPECT_EQ(Get(probe.get(), L"Target").value.pdispVal, nullptr);
}

TEST_F(Dispatcher, EventsReachEveryConnectedSink) {
  auto first = EventSink::Connect(probe.get());
  auto second = EventSink::Connect(probe.get());
  ASSERT_TRUE(Call(probe.get(), L"Ping", {Text(L"hallo")}).ok());
  for (auto* sink : {first.get(), second.get()}) {
    ASSERT_EQ(sink->events().size(), 1u);
    EXPECT_EQ(sink->events()[0].id, 1);
    ASSERT_EQ(sink->events()[0].args.size(), 2u);
    EXPECT_EQ(Narrow(sink->events()[0].args[0].bstrVal), "hallo");
  }
  second->Disconnect();
  Call(probe.get(), L"Ping", {Text(L"again")});
  EXPECT_EQ(first->events().size(), 2u);
  EXPECT_EQ(second->events().size(), 1u);
  first->Disconnect();
}

// No value a caller can put in a VARIANT crashes a member: every type (valid or not), by
// value, as an array and by reference, against every member.
TEST_F(Dispatcher, SurvivesEveryVariantTypeAgainstEveryMember) {
  const wchar_t* members[] = {L"Echo", L"TakeString", L"TakeInteger", L"TakeLong", L"TakeBoolean",
                              L"TakeDouble", L"TakeDate", L"TakeObject", L"Optional", L"AppendByRef",
                              L"IncrementByRef", L"SetVariantByRef", L"LeaveByRef"};
  std::vector<std::function<Variant()>> makers;
  for (int vt : std::initializer_list<int>{VT_EMPTY, VT_NULL, VT_I2, VT_I4, VT_R4, VT_R8, VT_CY, VT_DATE, VT_ERROR, VT_BOOL,
                     VT_DECIMAL, VT_I1, VT_UI1, VT_UI2, VT_UI4, VT_I8, VT_UI8, VT_INT, VT_UINT,
                 15, 0x48, 0x7FFF}) {
    makers.push_back([vt] {
      Variant v;
      v.llVal = 1;
      v.vt = VARTYPE(vt);  // invalid types must be refused, not read
      return v;
    });
  }
  makers.push_back([] { return Text(std::wstring(100000, L'x')); });
  makers.push_back([] { return Text(std::wstring(L"a\0b", 3)); });
  makers.push_back(Array);
  makers.push_back([this] { return Variant::Object(probe.get()); });
  makers.push_back([] { return Variant::Object(nullptr); });
  makers.push_back([] {
    Variant v;  // a by-reference value without storage
    v.vt = VT_BYREF | VT_I4;
    v.byref = nullptr;
    return v;
  });
  for (const wchar_t* member : members) {
    for (auto& make : makers) {
      std::vector<Variant> args;
      args.push_back(make());
      VARTYPE vt = args[0].vt;
      CallResult r = Call(probe.get(), member, std::move(args));
      EXPECT_TRUE(r.ok() || r.hr == DISP_E_EXCEPTION) << Narrow(member) << " vt " << vt << " hr " << r.hr;
      if (vt == (VT_BYREF | VT_I4)) continue;
      Variant variable = make();
      std::vector<Variant> by_ref;
      by_ref.push_back(RefTo(&variable));
      Call(probe.get(), member, std::move(by_ref));
    }
  }
}
