#include "ftp_listing.h"

#include <wininet.h>

#include <cstring>

#include "error_texts.h"
#include "frame/text.h"
#include "frame/values.h"
#include "ftp_session.h"
#include "last_error.h"

namespace internet {
namespace {

constexpr long kNoMoreFiles = 18;  // ERROR_NO_MORE_FILES

void CloseEnumeration(HINTERNET handle) {
  InternetCloseHandle(handle);
  StoreLastError();
}
using Enumeration = frame::Unique<HINTERNET, CloseEnumeration>;

// The end of the entries. A failure that reports no error at all means the same: some
// WinInet implementations answer a pattern that matches nothing that way.
bool IsEnd(long error) { return error == kNoMoreFiles || error == 0; }

void ClearName(WIN32_FIND_DATAA& entry) { std::memset(entry.cFileName, 0, sizeof entry.cFileName); }

void AppendLine(std::wstring& listing, const WIN32_FIND_DATAA& entry) {
  if (!listing.empty()) listing += L"\r\n";
  listing += ListingLine(entry);
}

}  // namespace

std::wstring DateText(const FILETIME& time) {
  SYSTEMTIME st{};
  const BOOL converted = FileTimeToSystemTime(&time, &st);
  StoreLastError();
  if (!converted) return {};
  // Calendar date and clock time only: no milliseconds, no weekday.
  SYSTEMTIME moment{st.wYear, st.wMonth, 0, st.wDay, st.wHour, st.wMinute, st.wSecond, 0};
  DATE date = 0;
  if (!SystemTimeToVariantTime(&moment, &date)) return {};
  frame::Bstr text;
  if (FAILED(VarBstrFromDate(date, LOCALE_USER_DEFAULT, 0, text.out()))) return {};
  return std::wstring(text.view());
}

std::wstring ListingLine(const WIN32_FIND_DATAA& entry) {
  const unsigned long long size =
      (static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
  std::wstring line = frame::FromAnsiField(entry.cFileName, sizeof entry.cFileName);
  line += L'\t';
  line += DateText(entry.ftLastWriteTime);
  line += L'\t';
  line += std::to_wstring(size);
  line += L'\t';
  line += std::to_wstring(static_cast<unsigned long>(entry.dwFileAttributes));
  return line;
}

std::optional<std::wstring> ListDirectory(long connection, std::wstring_view pattern) {
  const std::string ansi_pattern = frame::ToAnsi(pattern);
  WIN32_FIND_DATAA entry{};
  ClearName(entry);
  Enumeration found(FtpFindFirstFileA(ToHandle(connection), ansi_pattern.c_str(), &entry, 0, 0));
  StoreLastError();
  if (!found) {
    const long error = LastError();
    if (IsEnd(error)) return std::nullopt;
    return Translate(error);
  }
  // Lines are joined as they come (amortised appends: linear in the listing's size).
  std::wstring listing;
  std::optional<std::wstring> failure;
  for (;;) {
    AppendLine(listing, entry);
    ClearName(entry);
    const BOOL next = InternetFindNextFileA(found.get(), &entry);
    StoreLastError();
    if (next) continue;
    const long error = LastError();
    if (!IsEnd(error)) failure = Translate(error);
    break;
  }
  found.reset();
  return failure ? failure : std::optional<std::wstring>(std::move(listing));
}

}  // namespace internet
