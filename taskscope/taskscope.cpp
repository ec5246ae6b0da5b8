#include "taskscope.h"

#include "frame/about_box.h"
#include "frame/conversions.h"
#include "process_list.h"
#include "text_helpers.h"

namespace taskscope {
namespace {

QUILLBOX_DEFINE_COMPONENT(taskscope, L"taskscope", frame::ServerKind::InProcess, Taskscope);

}  // namespace

STDMETHODIMP Taskscope::StrZToStr(BSTR* s, BSTR* result) {
  return frame::Guarded([&] { *result = frame::AllocBstr(DropLastCharacter(frame::View(s ? *s : nullptr))); });
}

STDMETHODIMP Taskscope::Strip(BSTR* text) {
  return frame::Guarded([&] {
    if (!text) frame::Raise(frame::kInvalidCall);
    std::wstring value(frame::View(*text));
    if (value.find(L'\0') == std::wstring::npos) return;
    CutAtFirstNul(value);
    BSTR replaced = frame::AllocBstr(value);
    SysFreeString(*text);
    *text = replaced;
  });
}

STDMETHODIMP Taskscope::InstrRev(VARIANT* text, VARIANT* such, VARIANT* result) {
  return frame::Guarded([&] {
    const std::wstring haystack = frame::ToText(*text);
    const std::wstring needle = frame::ToText(*such);
    frame::Variant::Long(LastPosition(haystack, needle)).DetachTo(result);
  });
}

STDMETHODIMP Taskscope::ProcessList(BSTR* result) {
  return frame::Guarded([&] { *result = frame::AllocBstr(ProcessNames()); });
}

STDMETHODIMP Taskscope::ModuleList(long pid, BSTR* result) {
  return frame::Guarded([&] { *result = frame::AllocBstr(ModulesOfProcess(static_cast<unsigned long>(pid))); });
}

STDMETHODIMP Taskscope::ModuleListFromName(BSTR name, BSTR* result) {
  return frame::Guarded([&] {
    unsigned long pid = ProcessOfWindow(frame::View(name));
    *result = frame::AllocBstr(pid ? ModulesOfProcess(pid) : std::wstring());
  });
}

STDMETHODIMP Taskscope::ModuleListFromEXE(BSTR progname, VARIANT_BOOL mode, BSTR* result) {
  return frame::Guarded([&] { *result = frame::AllocBstr(ModulesOfExecutables(frame::View(progname), mode != VARIANT_FALSE)); });
}

STDMETHODIMP Taskscope::About() {
  return frame::Guarded([] { frame::ShowAboutBox(); });
}

}  // namespace taskscope
