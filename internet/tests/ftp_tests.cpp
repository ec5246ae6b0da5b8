// The FTP members against the loopback server, as a script uses them.
#include <gtest/gtest.h>

#include "ftp_support.h"

using namespace qbtest;
using namespace inettest;

namespace {

bool IsTrue(const CallResult& r) { return r.ok() && r.value.vt == VT_BOOL && r.value.boolVal == VARIANT_TRUE; }
bool IsFalse(const CallResult& r) { return r.ok() && r.value.vt == VT_BOOL && r.value.boolVal == VARIANT_FALSE; }

TEST(Ftp, OpenInternetGivesAVariantHoldingALong) {
  auto obj = CreateObject(L"internet.quillbox");
  auto r = Call(obj.get(), L"OpenInternet");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.value.vt, VT_I4);
  EXPECT_NE(r.value.lVal, 0);
  Call(obj.get(), L"CloseHandle", {Long(r.value.lVal)});
}

TEST(Ftp, ConnectWithoutUserAndPasswordIsRefusedByTheServer) {
  auto obj = CreateObject(L"internet.quillbox");
  const long internet = Call(obj.get(), L"OpenInternet").number();
  // Left out, user and password are empty: an anonymous login, which this server refuses.
  auto r = Call(obj.get(), L"connect", {Long(internet), Text(kServer)});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.value.vt, VT_I4);
  EXPECT_EQ(r.value.lVal, 0);
  EXPECT_NE(Call(obj.get(), L"GetLastErrorNumber").number(), 0);
  Call(obj.get(), L"CloseHandle", {Long(internet)});
}

TEST(Ftp, DirectoriesAreMadeChangedReadAndRemoved) {
  FreshServerDirectory(L"dirs");
  Session s;
  const long c = s.connection();
  EXPECT_EQ(s.Call(L"GetDir", {Long(c)}).text(), L"/");
  EXPECT_TRUE(IsTrue(s.Call(L"ChDir", {Long(c), Text(L"dirs")})));
  EXPECT_EQ(s.Call(L"GetDir", {Long(c)}).text(), L"/dirs");
  EXPECT_TRUE(IsTrue(s.Call(L"MakeDir", {Long(c), Text(L"made")})));
  EXPECT_TRUE(Exists(ServerRoot() + L"\\dirs\\made"));
  EXPECT_TRUE(IsFalse(s.Call(L"ChDir", {Long(c), Text(L"absent")})));
  EXPECT_TRUE(IsTrue(s.Call(L"RemoveDir", {Long(c), Text(L"made")})));
  EXPECT_FALSE(Exists(ServerRoot() + L"\\dirs\\made"));
  // A number as the name: the Automation coercion turns it into its decimal text.
  EXPECT_TRUE(IsTrue(s.Call(L"MakeDir", {Long(c), Text(L"4711")})));
  EXPECT_TRUE(IsTrue(s.Call(L"RemoveDir", {Long(c), Long(4711)})));
  EXPECT_FALSE(Exists(ServerRoot() + L"\\dirs\\4711"));
  EXPECT_TRUE(IsFalse(s.Call(L"RemoveDir", {Long(c), Text(L"4711")})));
}

TEST(Ftp, FilesTravelInAsciiModeAndAreRenamedAndDeleted) {
  const std::wstring remote = FreshServerDirectory(L"files");
  const std::wstring local = LocalScratch(L"files");
  WriteFile(local + L"\\up.txt", "eins\nzwei\n");
  WriteFile(local + L"\\existing.txt", "old content that is longer than the new one\r\n");
  Session s;
  const long c = s.connection();
  ASSERT_TRUE(IsTrue(s.Call(L"ChDir", {Long(c), Text(L"/files")})));

  EXPECT_TRUE(IsTrue(s.Call(L"PutFile", {Long(c), Text(local + L"\\up.txt"), Text(L"remote.txt")})));
  EXPECT_NE(ReadFile(remote + L"\\remote.txt").find("eins"), std::string::npos);

  WriteFile(remote + L"\\lines.txt", "a\nb\nc\n");
  EXPECT_TRUE(IsTrue(s.Call(L"GetFile", {Long(c), Text(L"lines.txt"), Text(local + L"\\existing.txt")})));
  EXPECT_EQ(ReadFile(local + L"\\existing.txt"), "a\r\nb\r\nc\r\n");

  EXPECT_TRUE(IsTrue(s.Call(L"RenameFile", {Long(c), Text(L"remote.txt"), Text(L"renamed.txt")})));
  EXPECT_FALSE(Exists(remote + L"\\remote.txt"));
  EXPECT_TRUE(Exists(remote + L"\\renamed.txt"));

  EXPECT_TRUE(IsTrue(s.Call(L"DeleteFile", {Long(c), Text(L"renamed.txt")})));
  EXPECT_FALSE(Exists(remote + L"\\renamed.txt"));
  EXPECT_TRUE(IsFalse(s.Call(L"DeleteFile", {Long(c), Text(L"renamed.txt")})));
  EXPECT_TRUE(IsFalse(s.Call(L"RenameFile", {Long(c), Text(L"renamed.txt"), Text(L"x.txt")})));
  EXPECT_TRUE(IsFalse(s.Call(L"PutFile", {Long(c), Text(local + L"\\absent.txt"), Text(L"y.txt")})));
}

TEST(Ftp, AMissingRemoteFileGivesFalseAndTheServersReply) {
  FreshServerDirectory(L"missing");
  const std::wstring local = LocalScratch(L"missing");
  Session s;
  const long c = s.connection();
  ASSERT_TRUE(IsTrue(s.Call(L"ChDir", {Long(c), Text(L"/missing")})));
  auto fetch = [&] { return s.Call(L"GetFile", {Long(c), Text(L"absent.txt"), Text(local + L"\\a.txt")}); };

  EXPECT_TRUE(IsFalse(fetch()));
  EXPECT_EQ(s.Call(L"GetLastErrorNumber").number(), 12003);  // the server refused
  const std::wstring reply = s.Call(L"GetExtendedError").text();
  EXPECT_EQ(reply.substr(0, 4), L"550 ") << Narrow(reply);

  // Through 12003, GetLastError is the reply; its WinInet calls then replace the number.
  EXPECT_TRUE(IsFalse(fetch()));
  EXPECT_EQ(s.Call(L"GetLastError").text(), reply);
  EXPECT_NE(s.Call(L"GetLastErrorNumber").number(), 12003);
}

TEST(Ftp, GetDirOnAClosedHandleGivesNulCharactersOnly) {
  long closed = 0;
  auto obj = CreateObject(L"internet.quillbox");
  {
    Session s;
    closed = s.connection();
  }
  const std::wstring dir = Call(obj.get(), L"GetDir", {Long(closed)}).text();
  EXPECT_FALSE(dir.empty());
  EXPECT_LE(dir.size(), 500u);
  EXPECT_EQ(dir.find_first_not_of(L'\0'), std::wstring::npos);
  EXPECT_NE(Call(obj.get(), L"GetLastErrorNumber").number(), 0);
}

TEST(Ftp, AHandleThatIsNoNumberIsATypeMismatch) {
  auto obj = CreateObject(L"internet.quillbox");
  auto r = Call(obj.get(), L"ChDir", {Text(L"kein Handle"), Text(L"/")});
  EXPECT_EQ(r.error(), 13);
}

}  // namespace
