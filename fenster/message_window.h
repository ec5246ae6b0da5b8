// The message window Form2: a sizable tool window with a wrapping label and one
// button, once per server process, shared by every object.
#pragma once

#include "frame/window_helpers.h"
#include "script_window.h"

namespace fenster {

class MessageWindow : public ScriptWindow {
 public:
  static MessageWindow& Instance();

  // Outer size as percentages of the screen, keeping the top-left corner.
  void SetSizePercent(int width_percent, int height_percent);
  // 0 left, 1 right, 2 centred; error 380 for anything else.
  void SetAlignment(int align);

 private:
  void Create() override;
  void Layout() override;
  void OnButton() override;
  // The owner hears Form2Close(1).
  void TellOwnerOfUnload() override;

  frame::TwipsRect label_at_{};  // the label's geometry as last set, in twips
};

}  // namespace fenster
