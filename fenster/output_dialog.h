// The output dialog Form1: a label, a list of lines and a button, once per server
// process, shared by every object. It is loaded (hidden) by the first member that
// touches it and unloaded by DestroyDialog or the user's close control.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "frame/module.h"
#include "owner.h"

namespace fenster {

class OutputDialog {
 public:
  static OutputDialog& Instance();

  bool loaded() const { return window_ != nullptr; }
  OwnerSlot& owner() { return owner_; }

  // Each of these loads the window first when it is not loaded.
  void SetCaption(std::wstring_view text);
  void SetLabel(std::wstring_view text);
  void SetButtonText(std::wstring_view text);
  std::wstring ButtonText();
  void SetButtonVisible(bool visible);
  bool ButtonVisible();
  void Show();
  void Hide();
  // Appends a line, selects it and returns its index.
  int AddLine(std::wstring_view text);
  void Clear();

  // The index of the first selected line, or -1 (the window is not loaded for it).
  int SelectedIndex() const;
  std::wstring LineText(int index) const;

  // Runs the close handling (pending messages, then Form1Close on the owner) and
  // destroys the window; nothing when it is not loaded.
  void Unload();

 private:
  static LRESULT Procedure(HWND w, UINT message, WPARAM wp, LPARAM lp);
  void Load();
  void PlaceOnScreen();
  void Layout();
  void Destroyed();

  HWND window_ = nullptr;
  HWND label_ = nullptr;
  HWND list_ = nullptr;
  HWND button_ = nullptr;
  bool unloading_ = false;
  std::optional<frame::ModuleLock> alive_;  // a loaded window keeps the server running
  OwnerSlot owner_;
};

}  // namespace fenster
