// webpane against the stand-in browser application (registered by the test set-up as
// InternetExplorer.Application): the page address, the window's preparation, writing
// into the page, and the quit notification.
#include <gtest/gtest.h>

#include <exdisp.h>

#include <cmath>
#include <string>
#include <vector>

#include "frame/conversions.h"
#include "frame/values.h"
#include "frame/window_helpers.h"
#include "testing/automation.h"
#include "testing/event_sink.h"
#include "testing/window_driver.h"

using namespace qbtest;
using frame::ComPtr;

namespace {

constexpr DISPID kOnQuit = 1;

ComPtr<IWebBrowser2> BrowserIn(const VARIANT& v) {
  ComPtr<IWebBrowser2> browser;
  if (v.vt == VT_DISPATCH && v.pdispVal) v.pdispVal->QueryInterface(IID_IWebBrowser2, browser.put_void());
  return browser;
}

std::wstring Calls(IWebBrowser2* browser) {
  Variant v;
  frame::Bstr name(L"calls");
  browser->GetProperty(name.get(), &v);
  return v.vt == VT_BSTR ? std::wstring(frame::View(v.bstrVal)) : L"";
}

std::wstring Address(IWebBrowser2* browser) {
  frame::Bstr url;
  browser->get_LocationURL(url.out());
  return std::wstring(url.view());
}

HWND WindowOf(IWebBrowser2* browser) {
  SHANDLE_PTR hwnd = 0;
  browser->get_HWND(&hwnd);
  return reinterpret_cast<HWND>(hwnd);
}

std::wstring Body(IWebBrowser2* browser) {
  ComPtr<IDispatch> document;
  browser->get_Document(document.put());
  CallResult body = Get(document.get(), L"body");
  if (body.value.vt != VT_DISPATCH) return L"<no body>";
  return Get(body.value.pdispVal, L"innerHTML").text();
}

RECT WorkArea() {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

// Where a window of `size` pixels is expected in `usable` pixels.
long Centred(long size, long usable) {
  return size < usable ? std::lround(std::nearbyint((usable - size) / 2.0)) : 0;
}

// Processes this thread's messages until `condition` holds (or ten seconds passed).
bool PumpUntil(const std::function<bool()>& condition) {
  return WaitUntil([&] {
    frame::ProcessPendingMessages();
    return condition();
  });
}

// Closes a stand-in window as its user does, from another thread.
void CloseFromAnotherThread(IWebBrowser2* browser) {
  HWND window = WindowOf(browser);
  Helper closer([window] { PostMessageW(window, WM_CLOSE, 0, 0); });
}

// Closes a window and waits until it is gone; a connected object has been told by then,
// since the stand-in sends its notification before its window goes.
void CloseAndWait(IWebBrowser2* browser) {
  HWND window = WindowOf(browser);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
}

class Webpane : public ::testing::Test {
 protected:
  void SetUp() override { pane_ = CreateObject(L"webpane.quillbox"); }
  void TearDown() override {
    for (auto& b : opened_) b->Quit();  // fails harmlessly for windows already closed
  }

  // Calls an Open member and keeps the window for the clean-up.
  ComPtr<IWebBrowser2> Open(const wchar_t* member, std::vector<Variant> args = {},
                            std::vector<NamedArg> named = {}) {
    CallResult r = Call(pane_.get(), member, std::move(args), std::move(named));
    EXPECT_TRUE(r.ok()) << std::hex << r.hr << " " << r.scode << " " << Narrow(r.description);
    ComPtr<IWebBrowser2> browser = BrowserIn(r.value);
    EXPECT_TRUE(browser);
    if (browser) opened_.push_back(browser);
    return browser;
  }

  ComPtr<IDispatch> pane_;
  std::vector<ComPtr<IWebBrowser2>> opened_;
};

const std::wstring kDefaultAddress =
    L"JavaScript:'<html><head><title>Ausgabefenster</title><style>p {font: 12pt Arial;margin-top:0 px; "
    L"margin-bottom: 0px; color: \"#000000\"}</style></head><body bgcolor=\"#C0C0C0\" scroll=\"no\">'";

TEST_F(Webpane, OpenIEWindowWithDefaultsCentresAVisibleWindow) {
  auto ie = Open(L"OpenIEWindow");
  ASSERT_TRUE(ie);
  EXPECT_EQ(Address(ie.get()), kDefaultAddress);
  LONG left, top, width, height;
  VARIANT_BOOL visible;
  ie->get_Left(&left), ie->get_Top(&top), ie->get_Width(&width), ie->get_Height(&height), ie->get_Visible(&visible);
  const RECT work = WorkArea();
  EXPECT_EQ(width, 200);
  EXPECT_EQ(height, 200);
  EXPECT_EQ(left, Centred(200, work.right - work.left));
  EXPECT_EQ(top, Centred(200, work.bottom - work.top));
  EXPECT_EQ(visible, VARIANT_TRUE);
  EXPECT_EQ(qbtest::WindowText(WindowOf(ie.get())), L"Ausgabefenster");

  CallResult obj = Get(pane_.get(), L"obj");
  ASSERT_EQ(obj.value.vt, VT_DISPATCH);
  ComPtr<IUnknown> a, b;
  ie->QueryInterface(IID_IUnknown, a.put_void());
  obj.value.pdispVal->QueryInterface(IID_IUnknown, b.put_void());
  EXPECT_EQ(a.get(), b.get());
}

TEST_F(Webpane, BrowserOperationsComeInTheirOrder) {
  auto ie = Open(L"OpenIEWindow", {Text(L"t"), Bool(false), Long(300), Long(250)});
  ASSERT_TRUE(ie);
  const RECT work = WorkArea();
  const std::wstring expected =
      L"Width=300 Height=250 ToolBar=0 StatusBar=0 Silent=-1 Navigate ReadyState "
      L"Document availHeight Document availWidth Left=" + std::to_wstring(Centred(300, work.right - work.left)) +
      L" Top=" + std::to_wstring(Centred(250, work.bottom - work.top)) + L" Visible=-1";
  EXPECT_EQ(Calls(ie.get()), expected);
}

TEST_F(Webpane, WindowPlacementAndVisibility) {
  const RECT work = WorkArea();
  const long w = work.right - work.left, h = work.bottom - work.top;
  struct Case {
    long width, height;
    bool visible;
    long left, top;
  } cases[] = {
      {w, 200, true, 0, Centred(200, h)},                // as wide as the usable area
      {200, h + 10, true, Centred(200, w), 0},           // higher than it
      {w - 201, h - 203, false, 100, 102},               // 100.5 -> 100, 101.5 -> 102
      {w - 203, h - 201, true, 102, 100},
  };
  for (const Case& c : cases) {
    auto ie = Open(L"OpenIEWindow", {}, {{L"breite", Long(c.width)}, {L"hoehe", Long(c.height)},
                                         {L"visib", Bool(c.visible)}});
    ASSERT_TRUE(ie);
    LONG left, top;
    VARIANT_BOOL visible;
    ie->get_Left(&left), ie->get_Top(&top), ie->get_Visible(&visible);
    EXPECT_EQ(left, c.left) << c.width;
    EXPECT_EQ(top, c.top) << c.height;
    EXPECT_EQ(visible != VARIANT_FALSE, c.visible);
  }
}

TEST_F(Webpane, PageAddressPieces) {
  struct Case {
    std::vector<NamedArg> args;
    std::wstring title, style, body;
  } cases[] = {
      {{{L"scroll", Bool(true)}}, L"Ausgabefenster", L"12pt Arial", L"bgcolor=\"#C0C0C0\" scroll=\"auto\""},
      {{{L"title", Text(L"Liste")}, {L"size", Long(-3)}, {L"font", Text(L"Courier New")},
        {L"color", Text(L"FFFFFF")}, {L"fontcolor", Text(L"FF0000")}},
       L"Liste", L"-3pt Courier New;margin-top:0 px; margin-bottom: 0px; color: \"#FF0000\"",
       L"bgcolor=\"#FFFFFF\" scroll=\"no\""},
  };
  for (auto& c : cases) {
    auto ie = Open(L"OpenIEWindow", {}, std::move(c.args));
    ASSERT_TRUE(ie);
    const std::wstring address = Address(ie.get());
    EXPECT_NE(address.find(L"<title>" + c.title + L"</title>"), std::wstring::npos) << Narrow(address);
    EXPECT_NE(address.find(L"p {font: " + c.style), std::wstring::npos) << Narrow(address);
    EXPECT_NE(address.find(L"<body " + c.body + L">'"), std::wstring::npos) << Narrow(address);
  }
}

TEST_F(Webpane, SpecialCharactersInTheTitleReachThePageUnchanged) {
  struct Case {
    std::wstring title, in_address;
  } cases[] = {
      {L"Joe's 100% C:\\temp", L"Joe\\'s 100%25 C:\\\\temp"},
      {L"zwei\r\nZeilen", L"zwei\\r\\nZeilen"},
      {L"<i>\"so\"</i> & mehr", L"<i>\"so\"</i> & mehr"},  // everything else as given
  };
  for (const Case& c : cases) {
    auto ie = Open(L"OpenIEWindow", {Text(c.title)});
    ASSERT_TRUE(ie);
    EXPECT_NE(Address(ie.get()).find(L"<title>" + c.in_address + L"</title>"), std::wstring::npos)
        << Narrow(Address(ie.get()));
    EXPECT_EQ(qbtest::WindowText(WindowOf(ie.get())), c.title) << "the page shows the title as given";
  }
}

TEST_F(Webpane, OpenIEWindowFromTemplateNavigatesToTheAddressGiven) {
  auto ie = Open(L"OpenIEWindowFromTemplate", {Text(L"C:\\seiten\\ausgabe.html"), Long(320), Long(240)});
  ASSERT_TRUE(ie);
  EXPECT_EQ(Address(ie.get()), L"C:\\seiten\\ausgabe.html");
  LONG width, height;
  ie->get_Width(&width), ie->get_Height(&height);
  EXPECT_EQ(width, 320);
  EXPECT_EQ(height, 240);
}

TEST_F(Webpane, APageThatNeverGetsReadyFailsAfterTheTimeLimit) {
  CallResult r = Call(pane_.get(), L"OpenIEWindowFromTemplate", {Text(L"standin:never-ready")});
  EXPECT_EQ(r.scode, HRESULT_FROM_WIN32(ERROR_TIMEOUT));
  EXPECT_NE(r.description.find(L"60 Sekunden"), std::wstring::npos) << Narrow(r.description);
  // The steps before the wait stay done: the window is in obj, not yet placed or shown.
  ComPtr<IWebBrowser2> ie = BrowserIn(Get(pane_.get(), L"obj").value);
  ASSERT_TRUE(ie);
  opened_.push_back(ie);
  EXPECT_EQ(Calls(ie.get()), L"Width=200 Height=200 ToolBar=0 StatusBar=0 Silent=-1 Navigate ReadyState");
}

TEST_F(Webpane, SayReplacesAndSayMoreAppends) {
  auto ie = Open(L"OpenIEWindow");
  ASSERT_TRUE(ie);
  Variant var = Variant::Object(ie.get());
  auto say = [&](const wchar_t* member, const wchar_t* text) {
    CallResult r = Call(pane_.get(), member, {RefTo(&var), Text(text)});
    EXPECT_TRUE(r.ok()) << Narrow(r.description);
  };
  say(L"Say", L"eins");
  say(L"Say", L"zwei");
  EXPECT_EQ(Body(ie.get()), L"<p>zwei</p>");
  say(L"SayMore", L"drei");
  say(L"SayMore", L"<b>vier</b>");
  EXPECT_EQ(Body(ie.get()), L"<p>zwei</p><p>drei</p><p><b>vier</b></p>");
  say(L"SayMoreDirect", L"<hr>");
  EXPECT_EQ(Body(ie.get()), L"<p>zwei</p><p>drei</p><p><b>vier</b></p><hr>");
  say(L"SayDirect", L"");
  EXPECT_EQ(Body(ie.get()), L"");
  EXPECT_EQ(var.vt, VT_DISPATCH) << "the script's variable still holds the window";

  // A compiled client may pass its own typed variable holding the plain IDispatch.
  ComPtr<IDispatch> plain;
  ASSERT_EQ(ie->QueryInterface(IID_IDispatch, plain.put_void()), S_OK);
  IDispatch* slot = plain.get();
  VARIANT typed;
  typed.vt = VT_BYREF | VT_DISPATCH;
  typed.ppdispVal = &slot;
  EXPECT_TRUE(Call(pane_.get(), L"SayMore", {Variant::Copy(typed), Text(L"typed")}).ok());
  EXPECT_EQ(Body(ie.get()), L"<p>typed</p>");
  EXPECT_EQ(slot, plain.get());
}

TEST_F(Webpane, WritingManyTimesKeepsNoResources) {
  auto ie = Open(L"OpenIEWindow");
  ASSERT_TRUE(ie);
  Variant var = Variant::Object(ie.get());
  auto write = [&] {
    Call(pane_.get(), L"Say", {RefTo(&var), Text(L"eins")});
    Call(pane_.get(), L"SayMore", {RefTo(&var), Text(L"zwei")});
  };
  write();
  const ResourceUse before = MeasureResources();
  for (int i = 0; i < 200; ++i) write();
  const ResourceUse after = MeasureResources();
  EXPECT_LE(after.handles, before.handles + 5);
  EXPECT_LE(after.private_bytes, before.private_bytes + 1024 * 1024);
  EXPECT_EQ(Body(ie.get()), L"<p>eins</p><p>zwei</p>");
}

TEST_F(Webpane, SayWithoutAWindowIsObjectNotSet) {
  Variant nothing = Variant::Object(nullptr);
  for (const wchar_t* member : {L"Say", L"SayDirect", L"SayMore", L"SayMoreDirect"})
    EXPECT_EQ(Call(pane_.get(), member, {RefTo(&nothing), Text(L"x")}).error(), 91) << Narrow(member);
  Variant text = Text(L"kein Fenster");
  EXPECT_EQ(Call(pane_.get(), L"Say", {RefTo(&text), Text(L"x")}).error(), 13);
}

TEST_F(Webpane, WaitForQuitReturnsWhenTheWindowCloses) {
  auto ie = Open(L"OpenIEWindow");
  ASSERT_TRUE(ie);
  auto sink = EventSink::Connect(pane_.get());
  Variant var = Variant::Object(ie.get());
  CloseFromAnotherThread(ie.get());
  CallResult r = Call(pane_.get(), L"WaitForQuit", {RefTo(&var)});
  ASSERT_TRUE(r.ok()) << Narrow(r.description);
  EXPECT_EQ(r.value.vt, VT_EMPTY);
  EXPECT_EQ(sink->count(kOnQuit), 1u);
  EXPECT_EQ(sink->events().size(), 1u) << "hallo is never raised";
  EXPECT_EQ(Get(pane_.get(), L"fired").value.boolVal, VARIANT_TRUE);
  sink->Disconnect();
}

TEST_F(Webpane, WaitForQuitOnAWindowThatHasQuitReturnsAtOnce) {
  auto ie = Open(L"OpenIEWindow");
  ASSERT_TRUE(ie);
  CloseAndWait(ie.get());
  Variant var = Variant::Object(ie.get());
  // The watched window told its quit before; and once more from a second object that
  // never watched it, which finds it gone.
  EXPECT_TRUE(Call(pane_.get(), L"WaitForQuit", {RefTo(&var)}).ok());
  EXPECT_EQ(Get(pane_.get(), L"fired").value.boolVal, VARIANT_TRUE);
  auto other = CreateObject(L"webpane.quillbox");
  CallResult r = Call(other.get(), L"WaitForQuit", {RefTo(&var)});
  EXPECT_TRUE(r.ok()) << std::hex << r.hr << " " << r.scode << " " << Narrow(r.description);
  Variant nothing = Variant::Object(nullptr);
  EXPECT_TRUE(Call(other.get(), L"WaitForQuit", {RefTo(&nothing)}).ok());
  EXPECT_EQ(Get(other.get(), L"obj").value.pdispVal, nullptr);
}

TEST_F(Webpane, OnlyTheLastOpenedWindowIsWatched) {
  auto first = Open(L"OpenIEWindow");
  auto second = Open(L"OpenIEWindow");
  ASSERT_TRUE(first && second);
  auto sink = EventSink::Connect(pane_.get());
  CloseAndWait(first.get());
  EXPECT_EQ(sink->count(kOnQuit), 0u);
  EXPECT_EQ(Get(pane_.get(), L"fired").value.boolVal, VARIANT_FALSE);
  CloseAndWait(second.get());
  EXPECT_EQ(sink->count(kOnQuit), 1u);
  EXPECT_EQ(Get(pane_.get(), L"fired").value.boolVal, VARIANT_TRUE);
  sink->Disconnect();
}

TEST_F(Webpane, ObjStoredByReferenceMovesTheWatch) {
  auto first = Open(L"OpenIEWindow");
  auto second = Open(L"OpenIEWindow");
  ASSERT_TRUE(first && second);
  auto sink = EventSink::Connect(pane_.get());
  ASSERT_TRUE(Put(pane_.get(), L"obj", Variant::Object(first.get()), true).ok());
  CloseAndWait(second.get());
  EXPECT_EQ(sink->count(kOnQuit), 0u);
  CloseAndWait(first.get());
  EXPECT_EQ(sink->count(kOnQuit), 1u);

  // Storing Nothing watches nothing; a non-browser object is refused.
  auto third = Open(L"OpenIEWindow");
  ASSERT_TRUE(Put(pane_.get(), L"obj", Variant::Object(nullptr), true).ok());
  CloseAndWait(third.get());
  EXPECT_EQ(sink->count(kOnQuit), 1u);
  EXPECT_EQ(Put(pane_.get(), L"obj", Variant::Object(pane_.get()), true).error(), 13);
  sink->Disconnect();
}

TEST_F(Webpane, ObjOnquitCalledByAScriptRaisesOnQuit) {
  auto sink = EventSink::Connect(pane_.get());
  EXPECT_TRUE(Call(pane_.get(), L"obj_onquit").ok());
  EXPECT_EQ(sink->count(kOnQuit), 1u);
  EXPECT_EQ(Get(pane_.get(), L"fired").value.boolVal, VARIANT_TRUE);
  ASSERT_TRUE(Put(pane_.get(), L"fired", Bool(false)).ok());
  EXPECT_EQ(Get(pane_.get(), L"fired").value.boolVal, VARIANT_FALSE);
  sink->Disconnect();
}

TEST_F(Webpane, HandleEventsWithNothingPendingLeavesFired) {
  for (bool fired : {false, true}) {
    ASSERT_TRUE(Put(pane_.get(), L"fired", Bool(fired)).ok());
    EXPECT_TRUE(Call(pane_.get(), L"HandleEvents").ok());
    EXPECT_EQ(Get(pane_.get(), L"fired").value.boolVal, fired ? VARIANT_TRUE : VARIANT_FALSE);
  }
}

// Makes the browser's ProgID name no class while it lives.
class HiddenProgId {
 public:
  HiddenProgId() {
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\InternetExplorer.Application\\CLSID", 0,
                  KEY_READ | KEY_SET_VALUE | KEY_WOW64_64KEY, key_.put());
    wchar_t value[64] = L"";
    DWORD size = sizeof value - sizeof(wchar_t);
    RegQueryValueExW(key_.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    saved_ = value;
    Set(L"");
  }
  ~HiddenProgId() { Set(saved_); }

 private:
  void Set(const std::wstring& v) {
    RegSetValueExW(key_.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                   DWORD((v.size() + 1) * sizeof(wchar_t)));
  }
  frame::RegKey key_;
  std::wstring saved_;
};

TEST_F(Webpane, NoBrowserIsError429AndKeepsObj) {
  auto ie = Open(L"OpenIEWindow");
  ASSERT_TRUE(ie);
  {
    HiddenProgId hidden;
    EXPECT_EQ(Call(pane_.get(), L"OpenIEWindow").error(), 429);
    EXPECT_EQ(Call(pane_.get(), L"OpenIEWindowFromTemplate", {Text(L"about:blank")}).error(), 429);
  }
  CallResult obj = Get(pane_.get(), L"obj");
  ASSERT_EQ(obj.value.vt, VT_DISPATCH);
  EXPECT_EQ(BrowserIn(obj.value).get() != nullptr, true);
  // Still the same window, still watched.
  auto sink = EventSink::Connect(pane_.get());
  CloseAndWait(ie.get());
  EXPECT_EQ(sink->count(kOnQuit), 1u);
  sink->Disconnect();
}


TEST_F(Webpane, ReleasingTheObjectWhileItsWindowIsOpen) {
  auto ie = Open(L"OpenIEWindow");
  ASSERT_TRUE(ie);
  pane_.reset();  // the sink the browser holds must not keep the object alive, nor break
  CloseAndWait(ie.get());
}

TEST(WebpaneTypeLibrary, HasTheClassInterfacesAndMemberOrder) {
  auto pane = CreateObject(L"webpane.quillbox");
  ExpectTypeLibraryShape(pane.get(), L"webpane", TYPEFLAG_FCONTROL | TYPEFLAG_FCANCREATE,
                         {L"fired", L"obj", L"WaitForQuit", L"HandleEvents", L"obj_onquit",
                          L"OpenIEWindowFromTemplate", L"OpenIEWindow", L"Say", L"SayDirect", L"SayMore",
                          L"SayMoreDirect", L"About"});
}

// The browser type stands in the signatures: obj and ie4 are IWebBrowser2 there.
TEST(WebpaneTypeLibrary, BrowserTypeComesFromTheBrowsersLibrary) {
  auto pane = CreateObject(L"webpane.quillbox");
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(pane->GetTypeInfo(0, 0, info.put()), S_OK);
  LPOLESTR name = const_cast<LPOLESTR>(L"Say");
  MEMBERID id;
  ASSERT_EQ(info->GetIDsOfNames(&name, 1, &id), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  const UINT count = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  bool found = false;
  for (UINT i = 0; i < count && !found; ++i) {
    FUNCDESC* f = nullptr;
    info->GetFuncDesc(i, &f);
    if (f->memid == id) {
      found = true;
      TYPEDESC* t = &f->lprgelemdescParam[0].tdesc;
      while (t->vt == VT_PTR) t = t->lptdesc;
      ASSERT_EQ(t->vt, VT_USERDEFINED);
      ComPtr<ITypeInfo> browser;
      ASSERT_EQ(info->GetRefTypeInfo(t->hreftype, browser.put()), S_OK);
      TYPEATTR* battr = nullptr;
      browser->GetTypeAttr(&battr);
      EXPECT_TRUE(IsEqualGUID(battr->guid, IID_IWebBrowser2));
      browser->ReleaseTypeAttr(battr);
    }
    info->ReleaseFuncDesc(f);
  }
  EXPECT_TRUE(found);
}
}  // namespace
