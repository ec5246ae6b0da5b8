#include "host_names.h"

#include <winsock2.h>
#include <windows.h>

#include <cstring>

#include "frame/errors.h"
#include "frame/text.h"
#include "last_error.h"

namespace internet {
namespace {

constexpr WORD kWinsock11 = MAKEWORD(1, 1);
constexpr size_t kMaxOfficialName = 256;

}  // namespace

void StartWinsock() {
  WSADATA data{};
  WSAStartup(kWinsock11, &data);
  StoreWinsockError();
}

void StopWinsock() {
  WSACleanup();
  StoreWinsockError();
}

std::wstring DottedAddress(const unsigned char* bytes) {
  std::wstring text;
  for (int i = 0; i < 4; ++i) {
    if (i) text += L'.';
    text += std::to_wstring(bytes[i]);
  }
  return text;
}

std::wstring OfficialName(const char* name) {
  const size_t length = strnlen(name, kMaxOfficialName);
  if (length == kMaxOfficialName) frame::Raise(frame::kInvalidCall);
  return frame::FromAnsi({name, length});
}

std::wstring AddressOfHost(std::wstring_view host) {
  const std::string ansi_host = frame::ToAnsi(host);
  const hostent* entry = gethostbyname(ansi_host.c_str());
  StoreWinsockError();
  if (!entry || !entry->h_addr_list || !entry->h_addr_list[0]) return kUnknownHost;
  return DottedAddress(reinterpret_cast<const unsigned char*>(entry->h_addr_list[0]));
}

std::wstring NameOfAddress(std::wstring_view address) {
  const std::string ansi_address = frame::ToAnsi(address);
  // Not tested: a text that is no address gives all bits set, looked up like any other.
  const unsigned long bits = inet_addr(ansi_address.c_str());
  StoreWinsockError();
  const hostent* entry = gethostbyaddr(reinterpret_cast<const char*>(&bits), 4, AF_INET);
  StoreWinsockError();
  if (!entry || !entry->h_name) return kUnknownHost;
  return OfficialName(entry->h_name);
}

}  // namespace internet
