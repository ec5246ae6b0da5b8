// Filling, sorting and reading back 10,000 and 20,000 rows of three columns through the
// script interface, side by side with a bare list-view control filled by messages.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "testing/automation.h"

namespace {

using qbtest::Call;
using qbtest::Text;

struct Row {
  std::wstring name, city, phone;
};

std::vector<Row> MakeRows(int n) {
  std::vector<Row> rows;
  for (int i = 0; i < n; ++i) {
    const int k = int((long long)i * 7919 % n);  // a shuffled order, so that sorting has work
    rows.push_back(
        {L"Name " + std::to_wstring(k), L"Ort " + std::to_wstring(k % 97), L"0" + std::to_wstring(100000 + k)});
  }
  return rows;
}

struct Phases {
  double fill = 1e300, sort = 1e300, read = 1e300;
  double cycle() const { return fill + sort + read; }
  void KeepBest(const Phases& p) {
    fill = std::min(fill, p.fill);
    sort = std::min(sort, p.sort);
    read = std::min(read, p.read);
  }
};

// One round of each: fill, sort, read back.
Phases MeasureRostera(const std::vector<Row>& rows) {
  auto list = qbtest::CreateObject(L"rostera.quillbox");
  Phases p;
  p.fill = qbbench::Seconds(
      [&] {
        for (const wchar_t* h : {L"Name", L"Ort", L"Telefon"}) Call(list.get(), L"AddHeader", {Text(h)});
        for (const Row& r : rows) {
          Call(list.get(), L"AddItem", {Text(r.name)});
          Call(list.get(), L"AddSubItem", {qbtest::Variant::Int(1), Text(r.city)});
          Call(list.get(), L"AddSubItem", {qbtest::Variant::Int(2), Text(r.phone)});
        }
      },
      1);
  p.sort = qbbench::Seconds([&] { Call(list.get(), L"RosteraSort", {qbtest::Variant::Int(0)}); }, 1);
  p.read = qbbench::Seconds([&] { Call(list.get(), L"GetRosteraContents"); }, 1);
  Call(list.get(), L"RosteraQuit");
  return p;
}

std::wstring ItemText(HWND view, int index, int column) {
  wchar_t buffer[260];
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 260;
  SendMessageW(view, LVM_GETITEMTEXTW, WPARAM(index), reinterpret_cast<LPARAM>(&item));
  return buffer;
}

int CALLBACK CompareByText(LPARAM a, LPARAM b, LPARAM view_param) {
  HWND view = reinterpret_cast<HWND>(view_param);
  std::wstring s = ItemText(view, int(a), 0), t = ItemText(view, int(b), 0);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, s.c_str(), -1, t.c_str(), -1) - CSTR_EQUAL;
}

// `quiet`: drawing switched off while filling, as the dialog's hidden list has it.
Phases MeasureBareListView(const std::vector<Row>& rows, bool quiet) {
  {
    HWND parent =
        CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 250, nullptr, nullptr, nullptr, nullptr);
    HWND view = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 297, 217, parent,
                                nullptr, nullptr, nullptr);
    if (quiet) SendMessageW(view, WM_SETREDRAW, FALSE, 0);
    Phases p;
    p.fill = qbbench::Seconds(
        [&] {
          int c = 0;
          for (const wchar_t* h : {L"Name", L"Ort", L"Telefon"}) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            column.pszText = const_cast<wchar_t*>(h);
            column.cx = 96;
            column.iSubItem = c;
            SendMessageW(view, LVM_INSERTCOLUMNW, WPARAM(c++), reinterpret_cast<LPARAM>(&column));
          }
          int index = 0;
          for (const Row& r : rows) {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = index;
            item.pszText = const_cast<wchar_t*>(r.name.c_str());
            SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            item.iSubItem = 1;
            item.pszText = const_cast<wchar_t*>(r.city.c_str());
            SendMessageW(view, LVM_SETITEMTEXTW, WPARAM(index), reinterpret_cast<LPARAM>(&item));
            item.iSubItem = 2;
            item.pszText = const_cast<wchar_t*>(r.phone.c_str());
            SendMessageW(view, LVM_SETITEMTEXTW, WPARAM(index), reinterpret_cast<LPARAM>(&item));
            ++index;
          }
        },
        1);
    p.sort = qbbench::Seconds(
        [&] {
          SendMessageW(view, LVM_SORTITEMSEX, reinterpret_cast<WPARAM>(view), reinterpret_cast<LPARAM>(&CompareByText));
        },
        1);
    p.read = qbbench::Seconds(
        [&] {
          std::vector<std::wstring> texts;
          const int count = int(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0));
          for (int i = 0; i < count; ++i)
            texts.push_back(ItemText(view, i, 0) + L"\r\n" + ItemText(view, i, 1) + L"\r\n" + ItemText(view, i, 2));
        },
        1);
    DestroyWindow(parent);
    return p;
  }
}

std::string Figures(const char* what, int n, const Phases& p) {
  char line[256];
  std::snprintf(line, sizeof line, "%s %d rows: fill %.2f us/row, sort %.2f us/row, read %.2f us/row, total %.3f s",
                what, n, p.fill / n * 1e6, p.sort / n * 1e6, p.read / n * 1e6, p.cycle());
  return line;
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  const auto rows10 = MakeRows(10000), rows20 = MakeRows(20000);
  // Rounds in turn, so that a busy neighbour on the machine slows all of them alike; the
  // best round of each counts.
  Phases ours10, ours20, quiet10, quiet20, drawing20;
  for (int round = 0; round < 5; ++round) {
    ours10.KeepBest(MeasureRostera(rows10));
    ours20.KeepBest(MeasureRostera(rows20));
    quiet10.KeepBest(MeasureBareListView(rows10, true));
    quiet20.KeepBest(MeasureBareListView(rows20, true));
    if (round < 2) drawing20.KeepBest(MeasureBareListView(rows20, false));
  }
  const std::string ours = Figures("rostera", 10000, ours10) + "\n  " + Figures("rostera", 20000, ours20);
  qbbench::PrintRatio("rostera 20k/10k fill+sort+read", ours20.cycle() / ours10.cycle(), "<= 2.2", ours);
  qbbench::PrintRatio("bare list-view 20k/10k fill, drawing off", quiet20.fill / quiet10.fill, "for information",
                      Figures("bare list-view, drawing off", 10000, quiet10));
  qbbench::PrintRatio("rostera 20k/10k fill", ours20.fill / ours10.fill, "for information", ours);
  qbbench::PrintRatio("rostera fill vs bare list-view fill, drawing off (20k)", ours20.fill / quiet20.fill, "<= 1.5",
                      Figures("bare list-view, drawing off", 20000, quiet20));
  qbbench::PrintRatio("rostera fill vs bare list-view fill, drawing on (20k)", ours20.fill / drawing20.fill, "<= 1.5",
                      Figures("bare list-view, drawing on", 20000, drawing20));
  qbbench::PrintRatio("rostera fill+sort+read vs bare list-view, drawing off (20k)", ours20.cycle() / quiet20.cycle(),
                      "for information", Figures("rostera", 20000, ours20));
  CoUninitialize();
  return 0;
}
