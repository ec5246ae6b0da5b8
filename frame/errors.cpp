#include "errors.h"

#include <oleauto.h>

#include "module.h"
#include "values.h"

namespace frame {

const wchar_t* StandardErrorText(int number) {
  switch (number) {
    case 5: return L"Invalid procedure call or argument";
    case 6: return L"Overflow";
    case 7: return L"Out of memory";
    case 9: return L"Subscript out of range";
    case 11: return L"Division by zero";
    case 13: return L"Type mismatch";
    case 91: return L"Object variable or With block variable not set";
    case 94: return L"Invalid use of Null";
    case 380: return L"Invalid property value";
    case 429: return L"ActiveX component can't create object";
    default: return nullptr;
  }
}

std::wstring DescribeError(HRESULT hr) {
  if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) {
    if (const wchar_t* text = StandardErrorText(HRESULT_CODE(hr))) return text;
  }
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, DWORD(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", n);
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  return text;
}

void Raise(int number, std::wstring description) {
  throw AutomationError{ControlError(number), std::move(description)};
}

void RaiseHresult(HRESULT hr, std::wstring description) {
  throw AutomationError{hr, std::move(description)};
}

HRESULT SetErrorObject(HRESULT hr, const std::wstring& description) {
  ComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(CreateErrorInfo(create.put()))) {
    std::wstring text = description.empty() ? DescribeError(hr) : description;
    create->SetDescription(const_cast<wchar_t*>(text.c_str()));
    std::wstring source = ProgId();
    create->SetSource(const_cast<wchar_t*>(source.c_str()));
    if (const ComponentInfo* c = CurrentComponent()) create->SetGUID(*c->iid);
    if (auto info = create.As<IErrorInfo>(IID_IErrorInfo)) SetErrorInfo(0, info.get());
  }
  return hr;
}

}  // namespace frame
