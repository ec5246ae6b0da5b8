// Host-name look-ups over Winsock 1.1: name to first IPv4 address, address to the
// host's official name. A look-up that finds nothing gives the text kUnknownHost.
#pragma once

#include <string>
#include <string_view>

namespace internet {

inline constexpr wchar_t kUnknownHost[] = L"kennichnich'";

void StartWinsock();
void StopWinsock();
std::wstring AddressOfHost(std::wstring_view host);
std::wstring NameOfAddress(std::wstring_view address);

// The official name of a host entry: its text up to the first NUL within 256 bytes;
// raises 5 (invalid call) when there is no NUL among them.
std::wstring OfficialName(const char* name);
// The dotted form of 4 address bytes as they lie in memory.
std::wstring DottedAddress(const unsigned char* bytes);

}  // namespace internet
