#include "collection.h"

#include <algorithm>
#include <memory>

#include "com_object.h"

namespace frame {
namespace {

// For Each over a snapshot of the texts.
class TextEnumerator final : public SimpleObject<IEnumVARIANT, &IID_IEnumVARIANT> {
 public:
  explicit TextEnumerator(std::vector<std::wstring> items, size_t next = 0)
      : items_(std::move(items)), next_(next) {}
  STDMETHODIMP Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    if (!out) return E_POINTER;
    ULONG n = 0;
    HRESULT hr = Guarded([&] {
      for (; n < count && next_ < items_.size(); ++n, ++next_) {
        VariantInit(&out[n]);
        Variant::Text(items_[next_]).DetachTo(&out[n]);
      }
    });
    if (fetched) *fetched = n;
    if (FAILED(hr)) return hr;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    next_ = std::min<size_t>(items_.size(), next_ + count);
    return next_ < items_.size() ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override { next_ = 0; return S_OK; }
  STDMETHODIMP Clone(IEnumVARIANT** out) override {
    if (!out) return E_POINTER;
    return Guarded([&] { *out = new TextEnumerator(items_, next_); });
  }

 private:
  std::vector<std::wstring> items_;
  size_t next_;
};

}  // namespace

const Dispatcher& StringCollection::TypeDispatcher() {
  static const std::unique_ptr<Dispatcher> dispatcher(
      NewEmbeddedDispatcher(kFrameTypeLibrary, IID_IQuillboxCollection));
  return *dispatcher;
}

size_t StringCollection::Position(const VARIANT& index) const {
  Variant n;
  if (FAILED(VariantChangeType(&n, const_cast<VARIANT*>(&index), 0, VT_I4))) Raise(kTypeMismatch);
  if (n.lVal < 1 || size_t(n.lVal) > items_.size()) Raise(kSubscriptOutOfRange);
  return size_t(n.lVal - 1);
}

STDMETHODIMP StringCollection::get_Count(long* count) {
  return Guarded([&] { *count = long(items_.size()); });
}

STDMETHODIMP StringCollection::Item(VARIANT index, VARIANT* item) {
  return Guarded([&] { Variant::Text(items_[Position(index)]).DetachTo(item); });
}

STDMETHODIMP StringCollection::Add(BSTR item) {
  return Guarded([&] { items_.emplace_back(item ? item : L"", SysStringLen(item)); });
}

STDMETHODIMP StringCollection::Remove(VARIANT index) {
  return Guarded([&] { items_.erase(items_.begin() + std::ptrdiff_t(Position(index))); });
}

STDMETHODIMP StringCollection::get__NewEnum(IUnknown** items) {
  return Guarded([&] { *items = new TextEnumerator(items_); });
}

}  // namespace frame
