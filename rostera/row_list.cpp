#include "row_list.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "frame/errors.h"
#include "frame/window_helpers.h"

namespace rostera {
namespace {

// A column added without a width is one inch wide.
constexpr int kDefaultColumnTwips = 1440;

const std::wstring kNoText;

// The user's locale's sort key, ignoring case: comparing two keys byte by byte orders
// the texts as the system's own comparison does, at a fraction of its cost per comparison.
std::string SortKeyOf(const std::wstring& text) {
  const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  const int size = LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), int(text.size()), nullptr, 0);
  std::string key(size_t(size > 0 ? size : 0), '\0');
  if (size > 0)
    LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), int(text.size()), reinterpret_cast<LPWSTR>(key.data()),
                 size);
  return key;
}

// Rows with equal texts keep the order they had before the sort, in both directions.
int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM descending) {
  const Row& x = *reinterpret_cast<const Row*>(a);
  const Row& y = *reinterpret_cast<const Row*>(b);
  const int by_text = x.sort_key.compare(y.sort_key);
  if (by_text != 0) return (by_text < 0 ? -1 : 1) * (descending ? -1 : 1);
  return x.order < y.order ? -1 : (x.order > y.order ? 1 : 0);
}

}  // namespace

const std::wstring& Row::Text(size_t column) const { return column < texts.size() ? texts[column] : kNoText; }

void Row::SetText(size_t column, std::wstring text) {
  if (column >= texts.size()) texts.resize(column + 1);
  texts[column] = std::move(text);
}

std::wstring Row::Joined(int cells) const {
  std::wstring joined = Text(0);
  for (int i = 1; i <= cells; ++i) {
    joined += L"\r\n";
    joined += Text(size_t(i));
  }
  return joined;
}

RowList::RowList(HWND list_view) : list_(list_view) {
  RECT r;
  GetWindowRect(list_, &r);
  fitted_width_ = r.right - r.left;
}

int RowList::WidthTwips() const {
  RECT r;
  GetWindowRect(list_, &r);
  return frame::PixelsToTwipsX(r.right - r.left);
}

void RowList::AddColumn(std::wstring_view header, int width_twips) {
  std::wstring text(header);
  const int pixels = frame::TwipsToPixelsX(width_twips < 0 ? kDefaultColumnTwips : width_twips);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = text.data();
  column.cx = pixels;
  column.iSubItem = int(widths_.size());
  if (SendMessageW(list_, LVM_INSERTCOLUMNW, widths_.size(), reinterpret_cast<LPARAM>(&column)) < 0)
    frame::Raise(frame::kInvalidCall);
  widths_.push_back(pixels);
}

std::shared_ptr<Row> RowList::Append(std::wstring key, std::wstring text) {
  if (by_key_.count(key)) frame::Raise(kKeyNotUnique, L"Key is not unique in collection");
  auto row = std::make_shared<Row>();
  row->key = key;
  row->texts.reserve(std::max<size_t>(1, widths_.size()));  // room for the cells to come
  row->texts.push_back(std::move(text));
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = int(by_key_.size());  // the end: every row of the list is in by_key_
  item.pszText = LPSTR_TEXTCALLBACKW;
  item.lParam = reinterpret_cast<LPARAM>(row.get());
  by_key_.emplace(std::move(key), row);
  if (SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0) {
    by_key_.erase(row->key);
    throw std::bad_alloc();
  }
  if (sorted_) out_of_order_ = true;
  return row;
}

void RowList::SetCell(Row& row, size_t column, std::wstring text) {
  row.SetText(column, std::move(text));
  if (sorted_ && column == size_t(sort_column_)) out_of_order_ = true;
}

void RowList::Remove(std::wstring_view key) {
  auto found = by_key_.find(std::wstring(key));
  if (found == by_key_.end()) frame::Raise(kElementNotFound, L"Element not found");
  LVFINDINFOW find{};
  find.flags = LVFI_PARAM;
  find.lParam = reinterpret_cast<LPARAM>(found->second.get());
  const LRESULT index = SendMessageW(list_, LVM_FINDITEMW, WPARAM(-1), reinterpret_cast<LPARAM>(&find));
  if (index < 0 || !SendMessageW(list_, LVM_DELETEITEM, WPARAM(index), 0)) frame::Raise(kElementNotFound, L"Element not found");
  by_key_.erase(found);
  InvalidateRect(list_, nullptr, TRUE);
}

int RowList::size() const { return int(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

Row* RowList::At(int index) const {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  if (!SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return reinterpret_cast<Row*>(item.lParam);
}

std::vector<const Row*> RowList::Rows(bool selected_only) {
  EnsureOrder();
  std::vector<const Row*> rows;
  if (selected_only) {
    for (int i = int(SendMessageW(list_, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); i >= 0;
         i = int(SendMessageW(list_, LVM_GETNEXTITEM, WPARAM(i), LVNI_SELECTED)))
      if (const Row* row = At(i)) rows.push_back(row);
  } else {
    const int count = size();
    rows.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
      if (const Row* row = At(i)) rows.push_back(row);
  }
  return rows;
}

void RowList::Sort(int column, int order) {
  sorted_ = true;
  sort_column_ = column;
  sort_order_ = order;
  ApplySort();
  InvalidateRect(list_, nullptr, TRUE);
}

void RowList::SortFlipped(int column) { Sort(column, sort_order_ == 0 ? 1 : 0); }

void RowList::EnsureOrder() {
  if (out_of_order_) ApplySort();
}

void RowList::ApplySort() {
  const size_t column = size_t(sort_column_ < 0 ? 0 : sort_column_);
  std::vector<Row*> rows;
  const int count = size();
  for (int i = 0; i < count; ++i) {
    if (Row* row = At(i)) {
      row->order = size_t(i);
      row->sort_key = SortKeyOf(row->Text(column));
      rows.push_back(row);
    }
  }
  SendMessageW(list_, LVM_SORTITEMS, WPARAM(sort_order_ == 1), reinterpret_cast<LPARAM>(&CompareRows));
  for (Row* row : rows) std::string().swap(row->sort_key);
  out_of_order_ = false;
}

void RowList::ScaleColumns() {
  RECT r;
  GetWindowRect(list_, &r);
  const double width = r.right - r.left;
  // A list squeezed to no width keeps its columns; they are scaled from the last width
  // they fitted once it grows again.
  if (width <= 0) return;
  if (fitted_width_ > 0 && width != fitted_width_) {
    const double factor = width / fitted_width_;
    for (size_t i = 0; i < widths_.size(); ++i) {
      // A column the user has resized starts from its new width.
      const int actual = int(SendMessageW(list_, LVM_GETCOLUMNWIDTH, i, 0));
      if (actual != std::lround(widths_[i])) widths_[i] = actual;
      widths_[i] *= factor;
      SendMessageW(list_, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(int(std::lround(widths_[i])), 0));
    }
  }
  fitted_width_ = width;
}

}  // namespace rostera
