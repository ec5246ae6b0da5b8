// The collection of texts as scripts use it: Count, Item (default, 1-based), Add,
// Remove and For Each.
#include <gtest/gtest.h>

#include "testing/automation.h"

using namespace qbtest;

namespace {

std::vector<std::wstring> Enumerate(IDispatch* collection) {
  std::vector<std::wstring> items;
  CallResult e = Call(collection, L"_NewEnum", {}, {}, DISPATCH_PROPERTYGET);
  if (!e.ok() || e.value.vt != VT_UNKNOWN) {
    ADD_FAILURE() << "no enumerator";
    return items;
  }
  auto enumerator = ComPtr<IUnknown>(e.value.punkVal).As<IEnumVARIANT>(IID_IEnumVARIANT);
  Variant item;
  while (enumerator->Next(1, &item, nullptr) == S_OK) {
    items.emplace_back(item.bstrVal);
    item.clear();
  }
  return items;
}

}  // namespace

TEST(Collection, CountItemAddRemoveAndForEach) {
  auto probe = CreateObject(L"probe.quillbox");
  CallResult made = Call(probe.get(), L"MakeCollection");
  ASSERT_EQ(made.value.vt, VT_DISPATCH);
  IDispatch* c = made.value.pdispVal;

  EXPECT_EQ(Get(c, L"Count").number(), 3);
  EXPECT_EQ(Call(c, L"Item", {Long(1)}).text(), L"a");
  EXPECT_EQ(Call(c, L"Item", {Text(L"3")}).text(), L"c");
  // The default member answers c(2).
  DISPPARAMS params{};
  Variant index = Long(2);
  params.rgvarg = &index;
  params.cArgs = 1;
  Variant value;
  ASSERT_EQ(c->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params, &value, nullptr,
                      nullptr),
            S_OK);
  EXPECT_EQ(std::wstring(value.bstrVal), L"b");

  for (long bad : {0L, 4L, -1L}) EXPECT_EQ(Call(c, L"Item", {Long(bad)}).error(), 9) << bad;
  EXPECT_EQ(Call(c, L"Item", {Text(L"x")}).error(), 13);

  ASSERT_TRUE(Call(c, L"Add", {Text(L"d")}).ok());
  ASSERT_TRUE(Call(c, L"Remove", {Long(1)}).ok());
  EXPECT_EQ(Call(c, L"Remove", {Long(9)}).error(), 9);
  EXPECT_EQ(Enumerate(c), (std::vector<std::wstring>{L"b", L"c", L"d"}));
  EXPECT_EQ(Get(c, L"Count").number(), 3);
}
