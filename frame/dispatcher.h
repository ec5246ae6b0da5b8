// Late binding answered from a type library: name look-up, argument count, named and
// optional arguments, Automation coercion, by-reference write-back, the call through
// the dual interface's function table and the error record a script sees.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "values.h"

namespace frame {

class Dispatcher {
 public:
  // `info` describes a dual interface; the dispatcher keeps a reference to it.
  explicit Dispatcher(ITypeInfo* info);

  ITypeInfo* type_info() const { return info_.get(); }

  HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const;
  // Calls a member on `instance`, a pointer to the dual interface that `info` describes.
  HRESULT Invoke(void* instance, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* arg_err) const;

  struct Param {
    VARTYPE vt = VT_EMPTY;  // the declared type, without the pointer of a by-reference one
    bool by_ref = false;
    bool optional = false;
    IID iid = GUID_NULL;    // for interface types: the interface to query for
    Variant default_value;  // VT_EMPTY when there is none
  };
  struct Function {
    MEMBERID id = 0;
    INVOKEKIND kind = INVOKE_FUNC;
    short vtable_offset = 0;
    std::vector<Param> params;      // [in] and [in, out] parameters, in order
    bool has_result = false;        // an [out, retval] parameter follows them
    Param result;
    std::vector<std::wstring> param_names;  // lowercase
  };

 private:
  const Function* Find(DISPID id, WORD flags, const DISPPARAMS* params) const;
  void Load();
  static std::wstring ToLowerName(std::wstring_view name);

  ComPtr<ITypeInfo> info_;
  std::vector<Function> functions_;
  std::unordered_map<std::wstring, MEMBERID> ids_by_name_;  // lowercase name -> id
  std::unordered_map<MEMBERID, std::vector<size_t>> functions_by_id_;
};

}  // namespace frame
