#include "shell_icon_size.h"

#include <string>

#include "frame/errors.h"
#include "frame/late_binding.h"
#include "frame/message_box.h"

namespace icons {
namespace {

constexpr wchar_t kValueName[] = L"HKCU\\Control Panel\\Desktop\\WindowMetrics\\Shell Icon Size";
constexpr short kDefaultSize = 32;

// The last failure of the steps that do not end the call.
struct Failure {
  HRESULT hr = S_OK;
  std::wstring description;

  void Remember(HRESULT code, std::wstring text) {
    hr = code;
    description = std::move(text);
  }
  // The failure's own description; the system's text for its code when it brings none.
  std::wstring Text() const { return description.empty() ? frame::DescribeError(hr) : description; }
};

// The present size cut to its integer part; empty (no usable size) when that is zero,
// which includes an absent value, or when the value is no number (a failure).
frame::Variant WholeSize(const frame::Variant& present, Failure& failure) {
  frame::Variant whole, number;
  if (FAILED(VarFix(const_cast<frame::Variant*>(&present), &whole))) {
    failure.Remember(frame::ControlError(frame::kTypeMismatch), {});
    return {};
  }
  if (FAILED(number.ChangeTypeFrom(whole, VT_R8)) || number.dblVal == 0) return {};
  return whole;
}

}  // namespace

frame::Variant SetShellIconSize(short size, bool relative) {
  frame::ComPtr<IDispatch> shell = frame::CreateByProgId(L"WScript.Shell");
  Failure failure;

  frame::LateCall read = frame::TryCallByName(shell.get(), L"RegRead", {frame::Variant::Text(kValueName)});
  if (!read.ok()) failure.Remember(read.hr, read.description);
  frame::Variant present = std::move(read.value);

  frame::Variant whole = WholeSize(present, failure);
  const bool usable = whole.vt != VT_EMPTY;
  if (!usable) whole = frame::Variant::Int(kDefaultSize);
  frame::Variant wanted = frame::Variant::Int(size);
  if (relative) {
    frame::Variant sum;
    HRESULT hr = VarAdd(&whole, &wanted, &sum);
    if (SUCCEEDED(hr)) wanted = std::move(sum);
    else failure.Remember(hr, {});
  }
  frame::LateCall write =
      frame::TryCallByName(shell.get(), L"RegWrite", {frame::Variant::Text(kValueName), std::move(wanted)});
  if (!write.ok()) failure.Remember(write.hr, write.description);

  if (FAILED(failure.hr)) frame::ShowMessage(failure.Text());
  // A usable value comes back as read (a text for a text value), else the number 32.
  return usable ? present : frame::Variant::Int(kDefaultSize);
}

}  // namespace icons
