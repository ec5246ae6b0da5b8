#include "icon_resources.h"

#include <shellapi.h>
#include <shlobj.h>

#include <memory>

#include "frame/errors.h"
#include "frame/text.h"

namespace icons {
namespace {

// A bitmap compatible with the screen, filled with the window background colour.
frame::Bitmap BackgroundSquare(int side) {
  frame::WindowDc screen(nullptr);
  frame::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), side, side));
  if (!bitmap) frame::RaiseHresult(E_OUTOFMEMORY);
  frame::MemoryDc dc(CreateCompatibleDC(screen.get()));
  frame::SelectedObject selected(dc.get(), bitmap.get());
  RECT all{0, 0, side, side};
  FillRect(dc.get(), &all, GetSysColorBrush(COLOR_WINDOW));
  return bitmap;
}

void DrawOnto(HBITMAP bitmap, HICON icon, int x, int y, int side) {
  frame::WindowDc screen(nullptr);
  frame::MemoryDc dc(CreateCompatibleDC(screen.get()));
  frame::SelectedObject selected(dc.get(), bitmap);
  DrawIconEx(dc.get(), x, y, icon, side, side, 0, nullptr, DI_NORMAL);
}

using PickIconProcedure = int(WINAPI*)(HWND, void*, UINT, int*);
constexpr size_t kPickBuffer = 260;

}  // namespace

long CountIcons(std::wstring_view file) {
  const std::string name = frame::ToAnsi(file);
  UINT count = ExtractIconExA(name.c_str(), -1, nullptr, nullptr, 0);
  // Some platforms answer a missing file with 0xFFFFFFFF.
  return count == UINT(-1) ? 0 : long(count);
}

frame::Bitmap DrawIconSquare(std::wstring_view file, int index) {
  const std::string name = frame::ToAnsi(file);
  frame::Icon large, small;
  ExtractIconExA(name.c_str(), index, large.put(), small.put(), 1);
  frame::Bitmap square = BackgroundSquare(kIconSquare);
  if (large) DrawOnto(square.get(), large.get(), 0, 0, kIconSide);
  return square;
}

std::wstring PickIcon(std::wstring_view path, long index) {
  if (path.size() > kPickBuffer - 1) frame::Raise(frame::kInvalidCall);
  HMODULE shell = GetModuleHandleW(L"shell32.dll");
  auto pick = reinterpret_cast<PickIconProcedure>(
      reinterpret_cast<void*>(GetProcAddress(shell, MAKEINTRESOURCEA(62))));
  if (!pick) frame::Raise(frame::kInvalidCall);
  int chosen = int(index);
  const bool ansi = PlatformId() < 2;
  std::wstring wide(path);
  wide.resize(kPickBuffer, L'\0');
  std::string narrow = frame::ToAnsi(path);
  if (ansi && narrow.size() > kPickBuffer - 1) frame::Raise(frame::kInvalidCall);
  narrow.resize(kPickBuffer, '\0');
  void* buffer = ansi ? static_cast<void*>(narrow.data()) : static_cast<void*>(wide.data());
  const int result = pick(nullptr, buffer, UINT(kPickBuffer), &chosen);
  if (LOWORD(result) == 0) return {};
  std::wstring picked = ansi ? frame::FromAnsiField(narrow.data(), narrow.size())
                             : std::wstring(wide.c_str());
  return picked + L"," + std::to_wstring(chosen);
}

long PlatformId() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;  // 148
  GetVersionExA(&version);
  return long(version.dwPlatformId);
}

void BroadcastMetricsChange() {
  static const char kSection[] = "WindowMetrics";
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, SPI_SETNONCLIENTMETRICS,
                      reinterpret_cast<LPARAM>(kSection), SMTO_ABORTIFHUNG, 10000, &ignored);
}

void NotifyDesktopChanged() {
  PIDLIST_ABSOLUTE raw = nullptr;
  SHGetSpecialFolderLocation(GetDesktopWindow(), CSIDL_DESKTOP, &raw);
  std::unique_ptr<ITEMIDLIST, decltype(&CoTaskMemFree)> desktop(raw, &CoTaskMemFree);
  SHChangeNotify(SHCNE_ALLEVENTS, SHCNF_IDLIST, desktop.get(), nullptr);
  SHChangeNotify(SHCNE_ATTRIBUTES, SHCNF_FLUSH, desktop.get(), nullptr);
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

frame::Bitmap DrawSystemCursor(long cursor_id) {
  // Standard cursor ids are small resource numbers; anything else names no cursor.
  if (cursor_id <= 0 || cursor_id > 0xFFFF) frame::Raise(frame::kInvalidCall);
  auto cursor = static_cast<HCURSOR>(
      LoadImageW(nullptr, MAKEINTRESOURCEW(cursor_id), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  if (!cursor) frame::Raise(frame::kInvalidCall);
  frame::Bitmap square = BackgroundSquare(kIconSide);
  DrawOnto(square.get(), cursor, 0, 0, kIconSide);
  return square;
}

}  // namespace icons
