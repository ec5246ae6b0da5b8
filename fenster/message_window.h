// The message window Form2: a sizable tool window with a wrapping label and one
// button, once per server process, shared by every object.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "frame/module.h"
#include "frame/window_helpers.h"
#include "owner.h"

namespace fenster {

class MessageWindow {
 public:
  static MessageWindow& Instance();

  bool loaded() const { return window_ != nullptr; }
  OwnerSlot& owner() { return owner_; }

  // Each of these loads the window first when it is not loaded.
  void SetCaption(std::wstring_view text);
  void SetText(std::wstring_view text);
  void SetButtonText(std::wstring_view text);
  std::wstring ButtonText();
  void SetButtonVisible(bool visible);
  bool ButtonVisible();
  void Show();
  void Hide();
  // Outer size as percentages of the screen, keeping the top-left corner.
  void SetSizePercent(int width_percent, int height_percent);
  // 0 left, 1 right, 2 centred; error 380 for anything else.
  void SetAlignment(int align);

  // Runs the close handling (Form2Close(1) on the owner) and destroys the window;
  // nothing when it is not loaded.
  void Unload();

 private:
  static LRESULT Procedure(HWND w, UINT message, WPARAM wp, LPARAM lp);
  void Load();
  void Layout();
  void Destroyed();

  HWND window_ = nullptr;
  HWND label_ = nullptr;
  HWND button_ = nullptr;
  frame::TwipsRect label_at_{};  // the label's geometry as last set, in twips
  bool unloading_ = false;
  std::optional<frame::ModuleLock> alive_;
  OwnerSlot owner_;
};

}  // namespace fenster
