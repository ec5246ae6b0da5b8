#include "dispatcher.h"

#include <array>
#include <cstring>

#include "errors.h"
#include "module.h"

namespace frame {
namespace {

constexpr size_t kMaxParams = 16;

struct ReleaseFuncDesc {
  ITypeInfo* info;
  FUNCDESC* desc;
  ~ReleaseFuncDesc() { info->ReleaseFuncDesc(desc); }
};

struct TypeAttr {
  ITypeInfo* info;
  TYPEATTR* attr = nullptr;
  explicit TypeAttr(ITypeInfo* i) : info(i) { i->GetTypeAttr(&attr); }
  ~TypeAttr() { if (attr) info->ReleaseTypeAttr(attr); }
};

// Resolves a user-defined type (alias, enum, interface) to what travels in a VARIANT.
void ResolveUserDefined(ITypeInfo* owner, HREFTYPE ref, Dispatcher::Param& p);

void ResolveValueType(ITypeInfo* owner, const TYPEDESC& desc, Dispatcher::Param& p) {
  if (desc.vt == VT_USERDEFINED) {
    ResolveUserDefined(owner, desc.hreftype, p);
  } else if (desc.vt == VT_PTR && desc.lptdesc->vt == VT_USERDEFINED) {
    ResolveUserDefined(owner, desc.lptdesc->hreftype, p);  // an interface pointer
  } else {
    p.vt = desc.vt;
  }
}

void ResolveUserDefined(ITypeInfo* owner, HREFTYPE ref, Dispatcher::Param& p) {
  ComPtr<ITypeInfo> info;
  p.vt = VT_UNKNOWN;
  if (FAILED(owner->GetRefTypeInfo(ref, info.put()))) return;
  TypeAttr attr(info.get());
  if (!attr.attr) return;
  switch (attr.attr->typekind) {
    case TKIND_ENUM: p.vt = VT_I4; break;
    case TKIND_ALIAS: ResolveValueType(info.get(), attr.attr->tdescAlias, p); break;
    case TKIND_DISPATCH:
      p.vt = VT_DISPATCH;
      p.iid = attr.attr->guid;
      break;
    case TKIND_INTERFACE:
      p.vt = (attr.attr->wTypeFlags & TYPEFLAG_FDUAL) ? VT_DISPATCH : VT_UNKNOWN;
      p.iid = attr.attr->guid;
      break;
    default: break;
  }
}

// A by-reference parameter is a pointer to a value; an interface pointer by value is
// also a VT_PTR in the type library, but is passed as a value.
void ResolveParamType(ITypeInfo* owner, const TYPEDESC& desc, Dispatcher::Param& p) {
  if (desc.vt == VT_PTR) {
    const TYPEDESC& inner = *desc.lptdesc;
    if (inner.vt == VT_USERDEFINED) {
      ResolveUserDefined(owner, inner.hreftype, p);
      if (p.vt == VT_DISPATCH || p.vt == VT_UNKNOWN) return;
    }
    p.by_ref = true;
    ResolveValueType(owner, inner, p);
  } else {
    ResolveValueType(owner, desc, p);
  }
}

bool IsMissing(const VARIANT* v) {
  return !v || (v->vt == VT_ERROR && v->scode == DISP_E_PARAMNOTFOUND);
}

// The Automation functions take non-const VARIANTs even where they only read them.
VARIANT* Deref(const VARIANT* v) {
  auto* p = const_cast<VARIANT*>(v);
  while (p->vt == (VT_BYREF | VT_VARIANT) && p->pvarVal) p = p->pvarVal;
  return p;
}

// Whether a caller's VARIANT holds a type that Automation values may have; anything
// else (vectors, reserved bits, unknown types, by-reference without storage) is
// refused before a platform function reads it.
bool IsAutomationValue(const VARIANT& v, int depth = 0) {
  const VARTYPE flags = v.vt & 0xF000;
  const VARTYPE base = v.vt & VT_TYPEMASK;
  if (flags & ~(VT_ARRAY | VT_BYREF)) return false;
  if ((flags & VT_BYREF) && !v.byref) return false;
  switch (base) {
    case VT_EMPTY: case VT_NULL:
      return flags == 0;
    case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY: case VT_DATE: case VT_BSTR:
    case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_UNKNOWN: case VT_DECIMAL: case VT_I1:
    case VT_UI1: case VT_UI2: case VT_UI4: case VT_I8: case VT_UI8: case VT_INT: case VT_UINT:
      return true;
    case VT_VARIANT:
      if (flags == VT_BYREF) return depth < 8 && IsAutomationValue(*v.pvarVal, depth + 1);
      return flags & VT_ARRAY;
    default:
      return false;
  }
}

// Converts `src` to the declared type of `p`. Returns 0 or the error number.
int Coerce(const VARIANT& src, const Dispatcher::Param& p, LCID lcid, Variant& out) {
  if (!IsAutomationValue(src)) return kTypeMismatch;
  Variant plain;
  if (FAILED(VariantCopyInd(&plain, Deref(&src)))) return kTypeMismatch;
  if (p.vt == VT_VARIANT) {
    out = std::move(plain);
    return 0;
  }
  if (plain.vt & VT_ARRAY) return kTypeMismatch;
  if (p.vt == VT_DISPATCH || p.vt == VT_UNKNOWN) {
    // JScript's null and undefined stand for "no object" as VBScript's Nothing does.
    if (plain.vt == VT_NULL || plain.vt == VT_EMPTY) {
      out.vt = p.vt;
      out.punkVal = nullptr;
      return 0;
    }
    if (plain.vt != VT_DISPATCH && plain.vt != VT_UNKNOWN) return kTypeMismatch;
    IUnknown* given = plain.punkVal;
    out.vt = p.vt;
    out.punkVal = nullptr;
    if (!given) return 0;
    REFIID iid = p.iid != GUID_NULL ? p.iid : (p.vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown);
    return SUCCEEDED(given->QueryInterface(iid, reinterpret_cast<void**>(&out.punkVal))) ? 0 : kTypeMismatch;
  }
  // Booleans become "True"/"False" as text, as scripts expect.
  if (plain.vt == VT_NULL) return kInvalidUseOfNull;
  HRESULT hr = VariantChangeTypeEx(&out, &plain, lcid, VARIANT_ALPHABOOL, p.vt);
  if (hr == DISP_E_OVERFLOW) return kOverflow;
  return SUCCEEDED(hr) ? 0 : kTypeMismatch;
}

bool SameValue(const VARIANT& a, const VARIANT& b) {
  if (a.vt != b.vt) return false;
  if (a.vt == VT_BSTR) {
    UINT n = SysStringLen(a.bstrVal);
    return n == SysStringLen(b.bstrVal) && (n == 0 || std::memcmp(a.bstrVal, b.bstrVal, n * sizeof(WCHAR)) == 0);
  }
  return a.llVal == b.llVal;
}

// Stores `value` into a caller's typed by-reference slot (VT_BYREF | type).
void StoreTyped(VARIANT& target, const VARIANT& value) {
  VARTYPE type = target.vt & ~VT_BYREF;
  if (type == VT_VARIANT) {
    VariantClear(target.pvarVal);
    VariantCopy(target.pvarVal, const_cast<VARIANT*>(&value));
    return;
  }
  Variant converted;
  if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, type))) return;
  switch (type) {
    case VT_BSTR: SysFreeString(*target.pbstrVal); *target.pbstrVal = converted.release().bstrVal; break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      if (*target.ppunkVal) (*target.ppunkVal)->Release();
      *target.ppunkVal = converted.release().punkVal;
      break;
    case VT_I1: case VT_UI1: *target.pbVal = converted.bVal; break;
    case VT_I2: case VT_UI2: case VT_BOOL: *target.piVal = converted.iVal; break;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR: *target.plVal = converted.lVal; break;
    case VT_I8: case VT_UI8: case VT_R8: case VT_DATE: case VT_CY: *target.pllVal = converted.llVal; break;
    default: break;
  }
}

// One argument of a call: the value passed and where it is written back.
struct Argument {
  Variant value;       // the converted value, or the temporary of a by-reference one
  Variant before;      // the temporary's value before the call, to detect a change
  VARIANT slot{};      // what DispCallFunc reads
  VARIANT* write_back = nullptr;  // the caller's variable, for a converted by-reference
};

HRESULT FillException(EXCEPINFO* excep, HRESULT hr, const std::wstring& description) {
  if (!excep) return hr;
  std::memset(excep, 0, sizeof *excep);
  excep->bstrSource = SysAllocString(ProgId().c_str());
  std::wstring text = description.empty() ? DescribeError(hr) : description;
  excep->bstrDescription = SysAllocString(text.c_str());
  excep->scode = hr;
  return DISP_E_EXCEPTION;
}

HRESULT CoercionFailure(EXCEPINFO* excep, UINT* arg_err, UINT position, int number) {
  if (arg_err) *arg_err = position;
  return FillException(excep, ControlError(number), {});
}

// The description of the error object a failed member left on this thread.
std::wstring TakeErrorDescription() {
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) != S_OK || !info) return {};
  Bstr text;
  info->GetDescription(text.out());
  return std::wstring(text.view());
}

}  // namespace

Dispatcher::Dispatcher(ITypeInfo* info) : info_(info) {
  // A dual interface's type information may come as its dispatch view; the function
  // table offsets live in the interface view.
  TypeAttr attr(info);
  if (attr.attr && attr.attr->typekind == TKIND_DISPATCH) {
    HREFTYPE ref;
    ComPtr<ITypeInfo> vtable_view;
    if (SUCCEEDED(info->GetRefTypeOfImplType(-1, &ref)) &&
        SUCCEEDED(info->GetRefTypeInfo(ref, vtable_view.put())))
      info_ = vtable_view;
  }
  Load();
}

void Dispatcher::Load() {
  TypeAttr attr(info_.get());
  if (!attr.attr) return;
  for (UINT i = 0; i < attr.attr->cFuncs; ++i) {
    FUNCDESC* desc = nullptr;
    if (FAILED(info_->GetFuncDesc(i, &desc))) continue;
    ReleaseFuncDesc release{info_.get(), desc};
    Function f;
    f.id = desc->memid;
    f.kind = desc->invkind;
    f.vtable_offset = desc->oVft;
    std::array<BSTR, kMaxParams + 1> names{};
    UINT name_count = 0;
    info_->GetNames(desc->memid, names.data(), UINT(names.size()), &name_count);
    for (UINT k = 0; k < name_count; ++k) {
      Bstr owned = Bstr::Attach(names[k]);
      std::wstring lower = ToLowerName(owned.view());
      if (k == 0) ids_by_name_.emplace(lower, desc->memid);
      else f.param_names.push_back(std::move(lower));
    }
    for (SHORT k = 0; k < desc->cParams; ++k) {
      const ELEMDESC& e = desc->lprgelemdescParam[k];
      Param p;
      USHORT flags = e.paramdesc.wParamFlags;
      if (flags & PARAMFLAG_FRETVAL) {
        ResolveValueType(info_.get(), *e.tdesc.lptdesc, p);
        if (e.tdesc.lptdesc->vt == VT_PTR && e.tdesc.lptdesc->lptdesc->vt == VT_USERDEFINED)
          ResolveUserDefined(info_.get(), e.tdesc.lptdesc->lptdesc->hreftype, p);
        f.result = std::move(p);
        f.has_result = true;
        continue;
      }
      ResolveParamType(info_.get(), e.tdesc, p);
      p.optional = (flags & (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT)) != 0;
      if ((flags & PARAMFLAG_FHASDEFAULT) && e.paramdesc.pparamdescex)
        p.default_value = Variant::Copy(e.paramdesc.pparamdescex->varDefaultValue);
      f.params.push_back(std::move(p));
    }
    if (f.params.size() > kMaxParams) continue;
    functions_by_id_[f.id].push_back(functions_.size());
    functions_.push_back(std::move(f));
  }
}

std::wstring Dispatcher::ToLowerName(std::wstring_view name) {
  std::wstring lower(name);
  if (!lower.empty()) CharLowerBuffW(lower.data(), DWORD(lower.size()));
  return lower;
}

HRESULT Dispatcher::GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const {
  if (!names || !ids || count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  if (!names[0]) return DISP_E_UNKNOWNNAME;
  auto it = ids_by_name_.find(ToLowerName(names[0]));
  if (it == ids_by_name_.end()) return DISP_E_UNKNOWNNAME;
  ids[0] = it->second;
  const Function* f = Find(it->second, DISPATCH_METHOD | DISPATCH_PROPERTYGET, nullptr);
  HRESULT hr = S_OK;
  for (UINT i = 1; i < count; ++i) {
    if (f && names[i]) {
      std::wstring lower = ToLowerName(names[i]);
      for (size_t k = 0; k < f->param_names.size() && k < f->params.size(); ++k)
        if (f->param_names[k] == lower) ids[i] = DISPID(k);
    }
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

const Dispatcher::Function* Dispatcher::Find(DISPID id, WORD flags, const DISPPARAMS*) const {
  auto it = functions_by_id_.find(id);
  if (it == functions_by_id_.end()) return nullptr;
  const Function* fallback = nullptr;
  const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
  for (size_t index : it->second) {
    const Function& f = functions_[index];
    const bool is_put = f.kind == INVOKE_PROPERTYPUT || f.kind == INVOKE_PROPERTYPUTREF;
    if (put != is_put) continue;
    if (put) {
      const bool wants_ref = flags & DISPATCH_PROPERTYPUTREF;
      if ((f.kind == INVOKE_PROPERTYPUTREF) == wants_ref) return &f;
    } else {
      if ((flags & DISPATCH_METHOD) && f.kind == INVOKE_FUNC) return &f;
      if ((flags & DISPATCH_PROPERTYGET) && f.kind == INVOKE_PROPERTYGET) return &f;
    }
    fallback = &f;
  }
  return fallback;
}

HRESULT Dispatcher::Invoke(void* instance, DISPID id, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* excep, UINT* arg_err) const {
  DISPPARAMS none{};
  if (!params) params = &none;
  const Function* f = Find(id, flags, params);
  if (!f) return DISP_E_MEMBERNOTFOUND;
  const size_t n = f->params.size();
  const UINT named = params->cNamedArgs;
  if (params->cArgs > n || named > params->cArgs) return DISP_E_BADPARAMCOUNT;
  const UINT positional = params->cArgs - named;

  // Which caller's argument fills which parameter, and its position in rgvarg.
  std::array<VARIANT*, kMaxParams> given{};
  std::array<UINT, kMaxParams> position{};
  for (UINT i = 0; i < positional; ++i) {
    position[i] = params->cArgs - 1 - i;
    given[i] = &params->rgvarg[position[i]];
  }
  for (UINT j = 0; j < named; ++j) {
    DISPID pid = params->rgdispidNamedArgs[j];
    size_t index = pid == DISPID_PROPERTYPUT ? n - 1 : size_t(pid);
    if (pid < 0 && pid != DISPID_PROPERTYPUT) return DISP_E_PARAMNOTFOUND;
    if (index >= n || given[index]) return DISP_E_PARAMNOTFOUND;
    given[index] = &params->rgvarg[j];
    position[index] = j;
  }

  const LCID lcid = LOCALE_USER_DEFAULT;
  std::array<Argument, kMaxParams + 1> args;
  std::array<VARTYPE, kMaxParams + 1> types{};
  std::array<VARIANTARG*, kMaxParams + 1> slots{};
  for (size_t i = 0; i < n; ++i) {
    const Param& p = f->params[i];
    Argument& a = args[i];
    VARIANT* src = given[i];
    if (IsMissing(src)) {
      if (!p.optional) return DISP_E_PARAMNOTOPTIONAL;
      if (p.default_value.vt != VT_EMPTY) {
        if (int err = Coerce(p.default_value, p, lcid, a.value)) return CoercionFailure(excep, arg_err, UINT(i), err);
      } else if (p.vt == VT_VARIANT) {
        a.value.vt = VT_ERROR;
        a.value.scode = DISP_E_PARAMNOTFOUND;
      } else if (int err = Coerce(Variant(), p, lcid, a.value)) {
        return CoercionFailure(excep, arg_err, UINT(i), err);
      }
      src = nullptr;
    } else if (p.by_ref && (src->vt == (VT_BYREF | p.vt))) {
      // The caller's variable has the declared type already: pass it straight through.
      a.slot.vt = src->vt;
      a.slot.byref = src->byref;
      if (p.vt == VT_VARIANT) a.slot.pvarVal = Deref(src);
      types[i] = a.slot.vt;
      slots[i] = &a.slot;
      continue;
    } else if (int err = Coerce(*src, p, lcid, a.value)) {
      return CoercionFailure(excep, arg_err, position[i], err);
    }
    if (p.by_ref) {
      if (src && (src->vt & VT_BYREF)) {
        a.write_back = src;
        a.before = a.value;
      }
      a.slot.vt = VT_BYREF | p.vt;
      a.slot.byref = p.vt == VT_VARIANT ? static_cast<void*>(&a.value) : static_cast<void*>(&a.value.llVal);
    } else {
      a.slot = a.value;  // a bitwise view: DispCallFunc reads the union by the declared type
      a.slot.vt = p.vt;
      if (p.vt == VT_VARIANT) {
        slots[i] = &a.value;
        types[i] = VT_VARIANT;
        continue;
      }
    }
    types[i] = a.slot.vt;
    slots[i] = &a.slot;
  }

  Variant ret;
  size_t count = n;
  if (f->has_result) {
    Argument& r = args[n];
    r.slot.vt = VT_BYREF | f->result.vt;
    r.slot.byref = f->result.vt == VT_VARIANT ? static_cast<void*>(&ret) : static_cast<void*>(&ret.llVal);
    types[n] = r.slot.vt;
    slots[n] = &r.slot;
    ++count;
  }

  VARIANT outcome;
  VariantInit(&outcome);
  HRESULT hr = DispCallFunc(instance, ULONG_PTR(f->vtable_offset), CC_STDCALL, VT_ERROR, UINT(count),
                            types.data(), slots.data(), &outcome);
  if (FAILED(hr)) return hr;

  for (size_t i = 0; i < n; ++i) {
    Argument& a = args[i];
    if (!a.write_back || SameValue(a.value, a.before)) continue;
    VARIANT& target = *a.write_back;
    if (target.vt == (VT_BYREF | VT_VARIANT)) {
      VARIANT* variable = Deref(&target);
      VariantClear(variable);
      *variable = a.value.release();
    } else {
      StoreTyped(target, a.value);
    }
  }

  const HRESULT member_hr = outcome.scode;
  if (FAILED(member_hr)) return FillException(excep, member_hr, TakeErrorDescription());
  if (f->has_result && f->result.vt != VT_VARIANT) ret.vt = f->result.vt;
  if (result) {
    VariantClear(result);
    ret.DetachTo(result);
  }
  return S_OK;
}

}  // namespace frame
