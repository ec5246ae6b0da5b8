// Host-name look-ups through the machine's resolver. A program of its own: the first
// test needs a process in which nothing has started Winsock yet.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "frame/errors.h"
#include "host_names.h"
#include "testing/automation.h"

using namespace qbtest;

namespace {

constexpr wchar_t kUnknown[] = L"kennichnich'";

class Hosts : public ::testing::Test {
 protected:
  std::wstring Text(const wchar_t* member, const std::wstring& arg) {
    auto r = Call(obj_.get(), member, {qbtest::Text(arg)});
    EXPECT_TRUE(r.ok());
    return r.ok() ? r.text() : L"<failed>";
  }
  long LastNumber() { return Call(obj_.get(), L"GetLastErrorNumber").number(); }
  std::wstring LastText() { return Call(obj_.get(), L"GetLastError").text(); }

  frame::ComPtr<IDispatch> obj_ = CreateObject(L"internet.quillbox");
};

// Runs first, in a process that has not started Winsock.
TEST_F(Hosts, LookUpsBeforeWinsockInitFindNothing) {
  EXPECT_EQ(Text(L"HostByName", L"localhost"), kUnknown);
  EXPECT_EQ(LastNumber(), 10093);
  EXPECT_EQ(LastText(), L"Winsock: nicht initialisiert");
  // Wine's reverse look-up does not check for a started Winsock; where it does, the
  // same holds as for names.
  if (Text(L"HostByAddress", L"127.0.0.1") == kUnknown) {
    EXPECT_EQ(LastNumber(), 10093);
  }
}

// IPv4 entries of the machine's hosts file: name -> the first address listed for it.
// The machine's own name is left out: resolvers answer it with the interfaces' addresses.
std::map<std::wstring, std::wstring> HostsFileEntries() {
  char own[256] = {};
  gethostname(own, sizeof own);
  std::map<std::wstring, std::wstring> entries;
  std::ifstream file("Z:\\etc\\hosts");
  for (std::string line; std::getline(file, line);) {
    line = line.substr(0, line.find('#'));
    std::istringstream fields(line);
    std::string address, name;
    if (!(fields >> address) || address.find(':') != std::string::npos) continue;
    while (fields >> name)
      if (_stricmp(name.c_str(), own) != 0) entries.emplace(Widen(name), Widen(address));
  }
  return entries;
}

TEST_F(Hosts, NamesResolveAfterWinsockInitUntilWinsockQuit) {
  ASSERT_TRUE(Call(obj_.get(), L"WinsockInit").ok());
  EXPECT_EQ(Text(L"HostByName", L"localhost"), L"127.0.0.1");
  EXPECT_EQ(LastNumber(), 0);
  for (const auto& [name, address] : HostsFileEntries()) EXPECT_EQ(Text(L"HostByName", name), address) << Narrow(name);
  EXPECT_EQ(Text(L"HostByAddress", L"127.0.0.1"), L"localhost");

  EXPECT_EQ(Text(L"HostByName", L"no-such-host.invalid"), kUnknown);
  EXPECT_EQ(LastNumber(), 11001);  // host not found
  EXPECT_EQ(LastText(), L"unbekannte Fehlernummer: 11001");
  // A text that is no address is looked up as 255.255.255.255.
  EXPECT_EQ(Text(L"HostByAddress", L"kein Rechner"), Text(L"HostByAddress", L"255.255.255.255"));

  ASSERT_TRUE(Call(obj_.get(), L"WinsockQuit").ok());
  EXPECT_EQ(Text(L"HostByName", L"localhost"), kUnknown);
  EXPECT_EQ(LastNumber(), 10093);
}

TEST(HostEntry, DottedFormWritesTheBytesInMemoryOrder) {
  const unsigned char a[] = {10, 0, 0, 1}, b[] = {192, 168, 0, 1}, c[] = {255, 255, 255, 255}, d[] = {0, 0, 0, 0};
  EXPECT_EQ(internet::DottedAddress(a), L"10.0.0.1");
  EXPECT_EQ(internet::DottedAddress(b), L"192.168.0.1");
  EXPECT_EQ(internet::DottedAddress(c), L"255.255.255.255");
  EXPECT_EQ(internet::DottedAddress(d), L"0.0.0.0");
}

TEST(HostEntry, OfficialNameEndsAtItsNulWithin256Bytes) {
  EXPECT_EQ(internet::OfficialName(""), L"");  // an empty official name stays empty
  EXPECT_EQ(internet::OfficialName("host.example"), L"host.example");
  std::string longest(255, 'h');
  EXPECT_EQ(internet::OfficialName(longest.c_str()), std::wstring(255, L'h'));
  std::string unterminated(300, 'h');
  unterminated[256] = '\0';
  try {
    internet::OfficialName(unterminated.c_str());
    ADD_FAILURE() << "no error for a name without NUL in 256 bytes";
  } catch (const frame::AutomationError& e) {
    EXPECT_EQ(e.hr, frame::ControlError(frame::kInvalidCall));
  }
}

}  // namespace
