// The members that fill the list: columns, rows, cells, removal and sorting.
#include <limits>

#include "frame/conversions.h"
#include "frame/errors.h"
#include "frame/message_box.h"
#include "rostera.h"

namespace rostera {
namespace {

constexpr wchar_t kBadWidth[] = L"Geben Sie als Breite einen Wert zwischen 5 und 100 an!";
constexpr wchar_t kNoSuchColumn[] =
    L"Sie haben versucht, mit AddSubItem() einen Eintrag in eine Spalte zu schreiben, die Sie noch gar "
    L"nicht angelegt haben!";
constexpr wchar_t kNoRowYet[] = L"Verwenden Sie vor AddSubItem() zuerst AddItem()!";
constexpr wchar_t kNoSuchCategory[] = L"Kategorie gibt es nicht!";
constexpr wchar_t kBadOrder[] = L"Erlaubt sind als Sortierreihenfolge nur 0 und 1!";

// Adds 1 to a 16-bit counter; the step past 32767 is an overflow.
void Increment(short& counter) {
  if (counter == std::numeric_limits<short>::max()) frame::Raise(frame::kOverflow);
  ++counter;
}

}  // namespace

STDMETHODIMP Rostera::AddHeader(BSTR name, short breite) {
  return frame::Guarded([&] {
    Increment(column_counter_);
    dialog_->columncount = column_counter_;
    RowList& rows = dialog_->Rows();
    int width = -1;  // the default width
    if (breite > 5 && breite <= 100)
      width = static_cast<int>(static_cast<double>(rows.WidthTwips()) * breite / 100.0);
    else if (breite != 0)
      frame::ShowWarning(kBadWidth);
    rows.AddColumn(frame::View(name), width);
  });
}

STDMETHODIMP Rostera::AddItem(BSTR name, VARIANT* result) {
  return frame::Guarded([&] {
    Increment(row_counter_);
    std::shared_ptr<Row> row = dialog_->Rows().Append(L"key" + std::to_wstring(row_counter_),
                                                      std::wstring(frame::View(name)));
    last_row_ = row;
    added_row_ = true;
    if (result) VariantInit(result);
  });
}

STDMETHODIMP Rostera::AddSubItem(short position, BSTR name) {
  return frame::Guarded([&] {
    if (position > column_counter_ || position < 1) return frame::ShowWarning(kNoSuchColumn);
    if (!added_row_) return frame::ShowWarning(kNoRowYet);
    // A last row that was removed, or whose list was discarded, takes nothing.
    std::shared_ptr<Row> row = last_row_.lock();
    if (!row || !dialog_->loaded()) return;
    dialog_->Rows().SetCell(*row, size_t(position), std::wstring(frame::View(name)));
  });
}

STDMETHODIMP Rostera::RemoveItem(BSTR keyname) {
  return frame::Guarded([&] { dialog_->Rows().Remove(frame::View(keyname)); });
}

STDMETHODIMP Rostera::RosteraSort(short kat, short order) {
  return frame::Guarded([&] {
    if (kat > column_counter_ || kat < 0) return frame::ShowWarning(kNoSuchCategory);
    if (order < 0 || order > 1) {
      frame::ShowWarning(kBadOrder);
      order = 0;
    }
    dialog_->Rows().Sort(kat, order);
  });
}

}  // namespace rostera
