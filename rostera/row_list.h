// The rows and columns of the dialog's list-view control. The control holds the rows
// (their order, their selection) and asks for their texts by callback; each row's key
// and texts live in a Row record that the item's lParam points to.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rostera {

// The error numbers a scripting list control raises for a missing and a doubled key.
constexpr int kElementNotFound = 35601;
constexpr int kKeyNotUnique = 35602;

struct Row {
  std::wstring key;
  std::vector<std::wstring> texts;  // [0] the row's own text, [n] cell n
  // While sorting: the sort key of the sort column's text, and the position before the
  // sort, which keeps rows with equal texts in their order.
  std::string sort_key;
  size_t order = 0;

  const std::wstring& Text(size_t column) const;
  void SetText(size_t column, std::wstring text);
  // The row's own text and cells 1 to `cells`, each on a line of its own.
  std::wstring Joined(int cells) const;
};

class RowList {
 public:
  explicit RowList(HWND list_view);
  RowList(const RowList&) = delete;
  RowList& operator=(const RowList&) = delete;

  HWND control() const { return list_; }

  // Appends a column; `width_twips` < 0 gives the default width.
  void AddColumn(std::wstring_view header, int width_twips);
  int WidthTwips() const;

  // Appends a row at the end (raises kKeyNotUnique when a row has that key already).
  std::shared_ptr<Row> Append(std::wstring key, std::wstring text);
  // Writes a cell of a row that may have left the list (then the list is unchanged).
  void SetCell(Row& row, size_t column, std::wstring text);
  // Removes the row with that key (raises kElementNotFound when none has it).
  void Remove(std::wstring_view key);

  int size() const;
  Row* At(int index) const;
  std::vector<const Row*> Rows(bool selected_only);

  // Sets the sorted flag, the sort column and the order (0 ascending, 1 descending).
  void Sort(int column, int order);
  // A header click: that column, the other order.
  void SortFlipped(int column);
  // Puts rows added or changed since the last sort into their place.
  void EnsureOrder();

  // Keeps each column's share when the control's width changes.
  void ScaleColumns();

 private:
  void ApplySort();

  HWND list_;
  std::unordered_map<std::wstring, std::shared_ptr<Row>> by_key_;
  bool sorted_ = false;
  int sort_column_ = 0;
  int sort_order_ = 0;
  bool out_of_order_ = false;
  // Column widths in pixels, unrounded, and the control width they were fitted to.
  std::vector<double> widths_;
  double fitted_width_ = 0;
};

}  // namespace rostera
