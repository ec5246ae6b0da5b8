// CaptureScreenToFile through late binding against the bare platform path (screen DC,
// BitBlt, GetDIBits, one file write), measured side by side in one run.
#include <windows.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "testing/automation.h"

namespace {

constexpr int kRounds = 20;

// The screen into a 32-bit bitmap file with the plain platform calls.
void BareCapture(const std::wstring& path) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  std::vector<BYTE> file(offset + size_t(w) * size_t(h) * 4);
  auto* header = reinterpret_cast<BITMAPFILEHEADER*>(file.data());
  header->bfType = 0x4D42;
  header->bfSize = DWORD(file.size());
  header->bfOffBits = offset;
  auto* info = reinterpret_cast<BITMAPINFO*>(file.data() + sizeof(BITMAPFILEHEADER));
  info->bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  GetDIBits(screen, bitmap, 0, UINT(h), file.data() + offset, info, DIB_RGB_COLORS);
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(f, file.data(), DWORD(file.size()), &written, nullptr);
  CloseHandle(f);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring product_file = std::wstring(temp) + L"bench_icons_product.bmp";
    const std::wstring bare_file = std::wstring(temp) + L"bench_icons_bare.bmp";
    auto icons = qbtest::CreateObject(L"icons.quillbox");
    bool failed = false;
    auto product = [&] {
      for (int i = 0; i < kRounds; ++i) {
        qbtest::Variant name = qbtest::Text(product_file);
        failed |= !qbtest::Call(icons.get(), L"CaptureScreenToFile", {qbtest::RefTo(&name)}).ok();
      }
    };
    auto bare = [&] { for (int i = 0; i < kRounds; ++i) BareCapture(bare_file); };
    product();  // warm-up: loads, registers classes, touches the file
    bare();
    const double product_s = qbbench::Seconds(product), bare_s = qbbench::Seconds(bare);
    const std::string details = std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
                                std::to_string(GetSystemMetrics(SM_CYSCREEN)) + " screen: CaptureScreenToFile " +
                                std::to_string(product_s / kRounds * 1e3) + " ms, bare path " +
                                std::to_string(bare_s / kRounds * 1e3) + " ms" + (failed ? " (CALLS FAILED)" : "");
    qbbench::PrintRatio("icons CaptureScreenToFile vs bare", product_s / bare_s, "<= 1.3", details);
    DeleteFileW(product_file.c_str());
    DeleteFileW(bare_file.c_str());
  }
  CoUninitialize();
  return 0;
}
