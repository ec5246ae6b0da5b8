#include "about_box.h"

#include <windows.h>

#include "module.h"
#include "values.h"
#include "window_helpers.h"

namespace frame {
namespace {

constexpr wchar_t kClassName[] = L"quillboxAbout";
constexpr int kButtonId = 1;

// The frame's position on the window; the labels are placed relative to it.
constexpr TwipsRect kFrame{120, 0, 4455, 5175};

struct Label {
  TwipsRect at;  // relative to the frame
  DWORD align;
  const wchar_t* text;
};

constexpr Label kLabels[] = {
    {{120, 360, 4215, 495}, SS_LEFT, L"quillbox-Skriptingerweiterung"},
    {{840, 720, 2775, 375}, SS_LEFT, L"\u00A9 2025\u20132026 das quillbox-Team"},
    {{120, 1200, 4215, 855}, SS_CENTER,
     L"Diese Erweiterung darf unver\u00E4ndert und kostenlos weitergegeben werden, "
     L"solange alle ihre Dateien beisammen bleiben."},
    {{120, 2040, 4215, 1575}, SS_CENTER,
     L"Die Erweiterung dient Experimenten. Ihre Benutzung geschieht auf eigene Gefahr: "
     L"F\u00FCr Sch\u00E4den, die durch ihren Gebrauch entstehen, wird keine Haftung "
     L"\u00FCbernommen."},
    {{120, 3720, 4215, 975}, SS_CENTER,
     L"Anmerkungen und Anregungen sind willkommen. Die vollst\u00E4ndige Dokumentation "
     L"steht in der README-Datei, die der Erweiterung beiliegt."},
};

LRESULT AboutProcedure(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_COMMAND && LOWORD(wp) == kButtonId) {
    DestroyWindow(w);
    return 0;
  }
  return DefWindowProcW(w, message, wp, lp);
}

Font TitleFont() {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(1425, TwipsToPixelsY(1440), 7200);  // 14.25 point
  lf.lfWeight = FW_BOLD;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpyW(lf.lfFaceName, L"Arial");
  return Font(CreateFontIndirectW(&lf));
}

HWND CreateAboutWindow(HFONT title_font) {
  const DWORD style = WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN;
  const DWORD ex_style = WS_EX_DLGMODALFRAME;
  RECT r = TwipsRect{0, 0, 4680, 5250}.ToPixels();
  AdjustWindowRectEx(&r, style, FALSE, ex_style);
  HWND w = CreateWindowExW(ex_style, RegisterWindowClass(kClassName, AboutProcedure), L"", style, 0, 0,
                           r.right - r.left, r.bottom - r.top, GetActiveWindow(), nullptr, ThisModule(),
                           nullptr);
  if (!w) return nullptr;
  CreateControl(w, L"BUTTON", L"", BS_GROUPBOX, kFrame, -1);
  for (const Label& label : kLabels) {
    TwipsRect at{kFrame.left + label.at.left, kFrame.top + label.at.top, label.at.width, label.at.height};
    HWND control = CreateControl(w, L"STATIC", label.text, label.align | SS_NOPREFIX, at, -1);
    if (&label == &kLabels[0]) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(title_font), FALSE);
  }
  CreateControl(w, L"BUTTON", L"Jau, alles klar!", BS_DEFPUSHBUTTON | WS_TABSTOP, {1920, 4680, 1215, 375},
                kButtonId);
  return w;
}

}  // namespace

void ShowAboutBox() {
  ModuleLock alive;
  Font title_font = TitleFont();
  HWND w = CreateAboutWindow(title_font.get());
  if (!w) return;
  CenterOnScreen(w);
  ShowWindow(w, SW_SHOW);
  SetFocus(GetDlgItem(w, kButtonId));
  RunModal(w, [w] { return !IsWindow(w); });
  if (IsWindow(w)) DestroyWindow(w);  // the loop ended on WM_QUIT
}

}  // namespace frame
