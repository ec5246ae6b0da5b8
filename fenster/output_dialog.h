// The output dialog Form1: a label, a list of lines and a button, once per server
// process, shared by every object. It is loaded (hidden) by the first member that
// touches it and unloaded by DestroyDialog or the user's close control.
#pragma once

#include "script_window.h"

namespace fenster {

class OutputDialog : public ScriptWindow {
 public:
  static OutputDialog& Instance();

  // Appends a line, selects it and returns its index (loads the window first).
  int AddLine(std::wstring_view text);
  void Clear();

  // The index of the first selected line, or -1 (the window is not loaded for it).
  int SelectedIndex() const;
  std::wstring LineText(int index) const;

 private:
  void Create() override;
  void PlaceOnScreen();
  void Layout() override;
  void OnButton() override;
  // Calls and clicks that are already queued are served first, then the owner hears
  // Form1Close.
  void TellOwnerOfUnload() override;
  void Destroyed() override;

  HWND list_ = nullptr;
};

}  // namespace fenster
