#include <gtest/gtest.h>

#include <ocidl.h>

#include "automation.h"

namespace qbtest {
namespace {

struct Attr {
  ITypeInfo* info;
  TYPEATTR* attr = nullptr;
  explicit Attr(ITypeInfo* i) : info(i) { i->GetTypeAttr(&attr); }
  ~Attr() { if (attr) info->ReleaseTypeAttr(attr); }
};

// The member names of a dual interface's function table, in order, one per member
// (a property's get and put share a name).
std::vector<std::wstring> MemberOrder(ITypeInfo* dual) {
  ComPtr<ITypeInfo> info(dual);
  HREFTYPE ref;
  ComPtr<ITypeInfo> vtable_view;
  if (SUCCEEDED(dual->GetRefTypeOfImplType(-1, &ref)) && SUCCEEDED(dual->GetRefTypeInfo(ref, vtable_view.put())))
    info = vtable_view;
  Attr attr(info.get());
  std::vector<std::wstring> names;
  for (UINT i = 0; i < attr.attr->cFuncs; ++i) {
    FUNCDESC* f = nullptr;
    info->GetFuncDesc(i, &f);
    BSTR name = nullptr;
    UINT n = 0;
    info->GetNames(f->memid, &name, 1, &n);
    if (names.empty() || names.back() != name) names.emplace_back(name);
    SysFreeString(name);
    info->ReleaseFuncDesc(f);
  }
  return names;
}

}  // namespace

void ExpectTypeLibraryShape(IDispatch* object, const wchar_t* library, WORD class_flags,
                            const std::vector<std::wstring>& order) {
  auto provider = ComPtr<IDispatch>(object).As<IProvideClassInfo>(IID_IProvideClassInfo);
  ASSERT_TRUE(provider);
  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(provider->GetClassInfo(coclass.put()), S_OK);
  ComPtr<ITypeLib> lib;
  UINT index = 0;
  ASSERT_EQ(coclass->GetContainingTypeLib(lib.put(), &index), S_OK);
  BSTR name = nullptr;
  lib->GetDocumentation(-1, &name, nullptr, nullptr, nullptr);
  EXPECT_EQ(Narrow(name ? name : L""), Narrow(library));
  SysFreeString(name);
  TLIBATTR* lib_attr = nullptr;
  lib->GetLibAttr(&lib_attr);
  EXPECT_EQ(lib_attr->lcid, 1033u);
  lib->ReleaseTLibAttr(lib_attr);

  Attr cls(coclass.get());
  EXPECT_EQ(cls.attr->typekind, TKIND_COCLASS);
  EXPECT_EQ(cls.attr->wTypeFlags & (TYPEFLAG_FAPPOBJECT | TYPEFLAG_FCANCREATE | TYPEFLAG_FPREDECLID | TYPEFLAG_FCONTROL),
            class_flags);
  BSTR class_name = nullptr;
  coclass->GetDocumentation(MEMBERID_NIL, &class_name, nullptr, nullptr, nullptr);
  EXPECT_EQ(Narrow(class_name ? class_name : L""), "quillbox");
  SysFreeString(class_name);

  bool saw_default = false, saw_source = false;
  for (UINT i = 0; i < cls.attr->cImplTypes; ++i) {
    INT flags = 0;
    coclass->GetImplTypeFlags(i, &flags);
    HREFTYPE ref;
    coclass->GetRefTypeOfImplType(i, &ref);
    ComPtr<ITypeInfo> iface;
    coclass->GetRefTypeInfo(ref, iface.put());
    BSTR iface_name = nullptr;
    iface->GetDocumentation(MEMBERID_NIL, &iface_name, nullptr, nullptr, nullptr);
    std::string n = Narrow(iface_name ? iface_name : L"");
    SysFreeString(iface_name);
    Attr a(iface.get());
    if (flags == IMPLTYPEFLAG_FDEFAULT) {
      saw_default = true;
      EXPECT_EQ(n, "_quillbox");
      const WORD want = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION |
                        TYPEFLAG_FDISPATCHABLE;
      // The interface's flags, read on its function-table view.
      HREFTYPE vtable_ref;
      ComPtr<ITypeInfo> vtable_view = iface;
      if (SUCCEEDED(iface->GetRefTypeOfImplType(-1, &vtable_ref))) iface->GetRefTypeInfo(vtable_ref, vtable_view.put());
      Attr v(vtable_view.get());
      EXPECT_EQ((a.attr->wTypeFlags | v.attr->wTypeFlags) & want, want)
          << std::hex << a.attr->wTypeFlags << " / " << v.attr->wTypeFlags;
      EXPECT_EQ(MemberOrder(iface.get()), order);
    } else if (flags == (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) {
      saw_source = true;
      EXPECT_EQ(n, "__quillbox");
      EXPECT_EQ(a.attr->typekind, TKIND_DISPATCH);
      EXPECT_TRUE(a.attr->wTypeFlags & TYPEFLAG_FHIDDEN);
      EXPECT_FALSE(a.attr->wTypeFlags & TYPEFLAG_FDUAL);
    }
  }
  EXPECT_TRUE(saw_default && saw_source);
}

}  // namespace qbtest
