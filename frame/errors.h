// How a member reports an Automation error: inside a member, throw with Raise(); the
// member's body runs under Guarded(), which turns the exception into the HRESULT of the
// error (severity bit, FACILITY_CONTROL, number in the low word) and the error object
// that the dispatcher hands to the script. No C++ exception crosses a COM boundary.
#pragma once

#include <windows.h>

#include <new>
#include <string>
#include <utility>

namespace frame {

// The error numbers of the Automation run-time convention.
enum ErrorNumber : int {
  kInvalidCall = 5,
  kOverflow = 6,
  kSubscriptOutOfRange = 9,
  kTypeMismatch = 13,
  kObjectNotSet = 91,
  kInvalidUseOfNull = 94,
  kInvalidPropertyValue = 380,
  kCannotCreateObject = 429,
};

constexpr HRESULT ControlError(int number) {
  return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number & 0xFFFF);
}

// The run-time's standard English text for an error number, or nullptr.
const wchar_t* StandardErrorText(int number);
// The description a script sees for a failed HRESULT: the standard text of a
// FACILITY_CONTROL error, else the system's message text, else an empty string.
std::wstring DescribeError(HRESULT hr);

// Thrown inside a member; carries the HRESULT and an optional description.
struct AutomationError {
  HRESULT hr;
  std::wstring description;
};

[[noreturn]] void Raise(int number, std::wstring description = {});
[[noreturn]] void RaiseHresult(HRESULT hr, std::wstring description = {});
// Raises for a failed HRESULT (for example of a platform object's call).
inline void Check(HRESULT hr) { if (FAILED(hr)) RaiseHresult(hr); }

// Records the error object of the current thread (what IErrorInfo callers read).
HRESULT SetErrorObject(HRESULT hr, const std::wstring& description);

// Runs a member's body and turns every exception into an HRESULT.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (const AutomationError& e) {
    return SetErrorObject(e.hr, e.description);
  } catch (const std::bad_alloc&) {
    return SetErrorObject(E_OUTOFMEMORY, {});
  } catch (...) {
    return SetErrorObject(E_UNEXPECTED, {});
  }
}

}  // namespace frame
