// What the two script windows share: a top-level window with a label and a button, once
// per server process and shared by every object. It is loaded (hidden) by the first
// member that touches it, owned by the object that last showed it, and unloaded by a
// member or by the user's close control.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "frame/module.h"
#include "owner.h"

namespace fenster {

class ScriptWindow {
 public:
  ScriptWindow(const ScriptWindow&) = delete;
  ScriptWindow& operator=(const ScriptWindow&) = delete;

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

  // Runs the close handling (the owner hears of it) and destroys the window; nothing
  // when it is not loaded.
  void Unload();

 protected:
  ScriptWindow() = default;
  ~ScriptWindow() = default;

  void Load();
  // Creates the hidden top-level window with a client area of the given size in twips;
  // the derived class then adds its controls and places it.
  void CreateFrame(const wchar_t* class_name, const wchar_t* caption, DWORD style, DWORD ex_style,
                   int client_width, int client_height, HICON icon);

  static constexpr int kButtonId = 1;  // the control id of the button

  virtual void Create() = 0;
  virtual void Layout() = 0;
  virtual void OnButton() = 0;
  virtual void TellOwnerOfUnload() = 0;
  virtual void Destroyed();

  HWND window_ = nullptr;
  HWND label_ = nullptr;
  HWND button_ = nullptr;

 private:
  static LRESULT Procedure(HWND w, UINT message, WPARAM wp, LPARAM lp);

  bool unloading_ = false;
  std::optional<frame::ModuleLock> alive_;  // a loaded window keeps the server running
  OwnerSlot owner_;
};

}  // namespace fenster
