// The Automation collection of texts that members hand to scripts: Count, Item (the
// default member, 1-based), Add, Remove and For Each.
#pragma once

#include <string>
#include <vector>

#include "object.h"
#include "frame_idl.h"

namespace frame {

class StringCollection final : public DispatchObject<StringCollection, IQuillboxCollection> {
 public:
  static const Dispatcher& TypeDispatcher();
  static const IID& InterfaceId() { return IID_IQuillboxCollection; }

  // For the component's own code.
  void Append(std::wstring text) { items_.push_back(std::move(text)); }
  void Clear() { items_.clear(); }
  const std::vector<std::wstring>& items() const { return items_; }

  STDMETHODIMP get_Count(long* count) override;
  STDMETHODIMP Item(VARIANT index, VARIANT* item) override;
  STDMETHODIMP Add(BSTR item) override;
  STDMETHODIMP Remove(VARIANT index) override;
  STDMETHODIMP get__NewEnum(IUnknown** items) override;

 private:
  size_t Position(const VARIANT& index) const;  // 0-based; raises error 9 outside
  std::vector<std::wstring> items_;
};

}  // namespace frame
