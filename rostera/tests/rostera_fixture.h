// Filling a rostera list by name as a script does, and reading and driving its dialog
// as a user would (the user's side runs on a second thread).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "testing/automation.h"
#include "testing/window_driver.h"

namespace rtest {

using qbtest::ComPtr;
using qbtest::Variant;

extern const wchar_t kDialogClass[];
extern const wchar_t kBadWidth[];
extern const wchar_t kNoSuchColumn[];
extern const wchar_t kNoRowYet[];
extern const wchar_t kNoSuchCategory[];
extern const wchar_t kBadOrder[];
extern const wchar_t kBadSize[];

ComPtr<IDispatch> NewList();
// Adds the headers, then each row: its text followed by its cells.
void Fill(IDispatch* list, const std::vector<std::wstring>& headers,
          const std::vector<std::vector<std::wstring>>& rows);
// The texts of a collection object (a call's result or the object itself).
std::vector<std::wstring> Texts(const Variant& collection);
std::vector<std::wstring> Contents(IDispatch* list);
// The identity of the object a result holds.
IUnknown* Identity(const Variant& object);

// This thread's dialog window, loaded (hidden or not), or nullptr.
HWND DialogOfThisThread();
HWND ListViewOf(HWND dialog);
HWND ButtonOf(HWND dialog, int nth);  // 0: OK, 1: cancel
// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
RECT OuterRect(HWND window);

// What the user does, from the helper thread.
void SelectRows(HWND list, const std::vector<int>& rows);
std::vector<int> SelectedRows(HWND list);
std::vector<std::wstring> ColumnTexts(HWND list, int column);
int ColumnWidth(HWND list, int column);
void ClickHeader(HWND list, int column);
void PressKey(HWND list, WORD key);
void CloseWithCloseControl(HWND dialog);

// RosteraShow on this thread while `user` acts on the dialog (found by its caption) on a
// second thread. A dialog the user left open is closed after the user is done, so a
// failing test cannot hang.
qbtest::CallResult ShowWhile(IDispatch* list, std::vector<Variant> args,
                             const std::function<void(HWND dialog)>& user);

}  // namespace rtest
