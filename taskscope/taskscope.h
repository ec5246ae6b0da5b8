// The class quillbox of taskscope: process and module lists, and text helpers.
#pragma once

#include "frame/object.h"
#include "taskscope_idl.h"

namespace taskscope {

class Taskscope final : public frame::Component<Taskscope, _quillbox> {
 public:
  STDMETHODIMP StrZToStr(BSTR* s, BSTR* result) override;
  STDMETHODIMP ModuleList(long pid, BSTR* result) override;
  STDMETHODIMP Strip(BSTR* text) override;
  STDMETHODIMP ModuleListFromName(BSTR name, BSTR* result) override;
  STDMETHODIMP ModuleListFromEXE(BSTR progname, VARIANT_BOOL mode, BSTR* result) override;
  STDMETHODIMP InstrRev(VARIANT* text, VARIANT* such, VARIANT* result) override;
  STDMETHODIMP ProcessList(BSTR* result) override;
  STDMETHODIMP About() override;
};

}  // namespace taskscope
