#include "standin_browser.h"

#include <exdispid.h>
#include <olectl.h>

#include "frame/errors.h"
#include "frame/window_helpers.h"

namespace standin {

const wchar_t kWindowClass[] = L"StandInBrowserWindow";
const wchar_t kNeverReady[] = L"standin:never-ready";

namespace {

constexpr UINT kLoadPage = WM_APP + 1;
constexpr UINT kDisconnect = WM_APP + 2;
LONG g_server_locks = 0;
int g_open_windows = 0;
HWND g_server_window = nullptr;

Browser* Of(HWND w) { return reinterpret_cast<Browser*>(GetWindowLongPtrW(w, GWLP_USERDATA)); }

LRESULT BrowserWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_NCCREATE:
      SetWindowLongPtrW(w, GWLP_USERDATA, LONG_PTR(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
      break;
    case kLoadPage:
      if (Browser* b = Of(w)) b->OnPageLoad();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      RECT area;
      GetClientRect(w, &area);
      if (Browser* b = Of(w)) b->Paint(dc, area);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_CLOSE:
      if (Browser* b = Of(w)) b->OnWindowClosing();
      return 0;
    default: break;
  }
  return DefWindowProcW(w, m, wp, lp);
}

// Once the call that closed a browser's window has returned: disconnects the browser
// from its clients and ends the process, as a browser's process ends with its window.
LRESULT ServerWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == kDisconnect) {
    auto* unknown = reinterpret_cast<IUnknown*>(lp);
    CoDisconnectObject(unknown, 0);
    unknown->Release();
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

HWND ServerWindow() {
  if (!g_server_window)
    g_server_window = CreateWindowExW(0, frame::RegisterWindowClass(L"StandInServer", ServerWindowProc), L"",
                                      0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  return g_server_window;
}

}  // namespace

int OpenWindows() { return g_open_windows; }

void ServerLock() { ++g_server_locks; }
void ServerUnlock() {
  if (--g_server_locks == 0) PostQuitMessage(0);
}

HRESULT Browser::Create(REFIID iid, void** out) {
  auto* b = new (std::nothrow) Browser;
  if (!b) return E_OUTOFMEMORY;
  HRESULT hr = b->window_ ? b->QueryInterface(iid, out) : E_FAIL;
  b->Release();
  return hr;
}

Browser::Browser() : page_(std::make_shared<Page>()), events_(this, DIID_DWebBrowserEvents2) {
  ServerLock();
  page_->record = [this](const std::wstring& call) { Record(call); };
  page_->changed = [this] { if (window_) InvalidateRect(window_, nullptr, TRUE); };
  ServerWindow();
  window_ = CreateWindowExW(0, frame::RegisterWindowClass(kWindowClass, BrowserWindowProc,
                                                          CS_HREDRAW | CS_VREDRAW,
                                                          reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)),
                            L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 300, 300, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
  if (window_) {
    AddRef();  // the open window keeps its browser
    ++g_open_windows;
  }
}

Browser::~Browser() {
  // Document objects that clients still hold must not call back into a gone browser.
  page_->record = [](const std::wstring&) {};
  page_->changed = [] {};
  ServerUnlock();
}

STDMETHODIMP_(ULONG) Browser::Release() {
  LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return ULONG(n);
}

STDMETHODIMP Browser::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IWebBrowser || iid == IID_IWebBrowserApp ||
      iid == IID_IWebBrowser2)
    *out = static_cast<IWebBrowser2*>(this);
  else if (iid == IID_IConnectionPointContainer)
    *out = static_cast<IConnectionPointContainer*>(this);
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP Browser::GetTypeInfoCount(UINT* n) {
  if (!n) return E_POINTER;
  *n = 1;
  return S_OK;
}

// The browser's interfaces inherit from one another, so IDispatch is answered by the
// platform from the registered type library's interface view, which knows them all.
HRESULT Browser::LoadTypeInfo() {
  if (type_info_) return S_OK;
  frame::ComPtr<ITypeLib> library;
  frame::ComPtr<ITypeInfo> info;
  HRESULT hr = LoadRegTypeLib(LIBID_SHDocVw, 1, 1, 0, library.put());
  if (SUCCEEDED(hr)) hr = library->GetTypeInfoOfGuid(IID_IWebBrowser2, info.put());
  HREFTYPE ref;
  if (SUCCEEDED(hr) && SUCCEEDED(info->GetRefTypeOfImplType(-1, &ref))) {
    frame::ComPtr<ITypeInfo> vtable_view;
    if (SUCCEEDED(info->GetRefTypeInfo(ref, vtable_view.put()))) info = vtable_view;
  }
  if (SUCCEEDED(hr)) type_info_ = info;
  return hr;
}

STDMETHODIMP Browser::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  HRESULT hr = LoadTypeInfo();
  if (FAILED(hr)) return hr;
  *out = type_info_.get();
  (*out)->AddRef();
  return S_OK;
}

STDMETHODIMP Browser::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  HRESULT hr = LoadTypeInfo();
  return FAILED(hr) ? hr : DispGetIDsOfNames(type_info_.get(), names, count, ids);
}

STDMETHODIMP Browser::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* excep, UINT* arg_err) {
  HRESULT hr = LoadTypeInfo();
  if (FAILED(hr)) return hr;
  return DispInvoke(static_cast<IWebBrowser2*>(this), type_info_.get(), id, flags, params, result, excep, arg_err);
}

void Browser::Record(const std::wstring& call) {
  if (calls_.empty() || calls_.back() != call) calls_.push_back(call);
}

RECT Browser::Bounds() const {
  RECT r{};
  if (window_) GetWindowRect(window_, &r);
  return r;
}

void Browser::MoveTo(LONG left, LONG top, LONG width, LONG height) {
  SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

STDMETHODIMP Browser::put_Width(LONG v) {
  if (!window_) return Closed();
  Record(L"Width=" + std::to_wstring(v));
  RECT r = Bounds();
  MoveTo(r.left, r.top, v, r.bottom - r.top);
  return S_OK;
}

STDMETHODIMP Browser::put_Height(LONG v) {
  if (!window_) return Closed();
  Record(L"Height=" + std::to_wstring(v));
  RECT r = Bounds();
  MoveTo(r.left, r.top, r.right - r.left, v);
  return S_OK;
}

STDMETHODIMP Browser::put_Left(LONG v) {
  if (!window_) return Closed();
  Record(L"Left=" + std::to_wstring(v));
  RECT r = Bounds();
  MoveTo(v, r.top, r.right - r.left, r.bottom - r.top);
  return S_OK;
}

STDMETHODIMP Browser::put_Top(LONG v) {
  if (!window_) return Closed();
  Record(L"Top=" + std::to_wstring(v));
  RECT r = Bounds();
  MoveTo(r.left, v, r.right - r.left, r.bottom - r.top);
  return S_OK;
}

STDMETHODIMP Browser::put_ToolBar(int v) {
  if (!window_) return Closed();
  Record(L"ToolBar=" + std::to_wstring(v));
  return S_OK;
}

STDMETHODIMP Browser::put_StatusBar(VARIANT_BOOL v) {
  if (!window_) return Closed();
  Record(L"StatusBar=" + std::to_wstring(v));
  return S_OK;
}

STDMETHODIMP Browser::put_Silent(VARIANT_BOOL v) {
  if (!window_) return Closed();
  Record(L"Silent=" + std::to_wstring(v));
  return S_OK;
}

STDMETHODIMP Browser::put_Visible(VARIANT_BOOL v) {
  if (!window_) return Closed();
  Record(L"Visible=" + std::to_wstring(v));
  ShowWindow(window_, v ? SW_SHOWNOACTIVATE : SW_HIDE);
  return S_OK;
}

STDMETHODIMP Browser::Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
  if (!window_) return Closed();
  Record(L"Navigate");
  address_.assign(url ? url : L"", SysStringLen(url));
  // Like a browser, loading happens after the call has returned.
  ready_ = READYSTATE_LOADING;
  PostMessageW(window_, kLoadPage, 0, 0);
  return S_OK;
}

void Browser::OnPageLoad() {
  // A page that never finishes loading, for the test of the wait's time limit.
  if (address_ == kNeverReady) return;
  LoadPage(*page_, address_);
  SetWindowTextW(window_, page_->title.c_str());
  InvalidateRect(window_, nullptr, TRUE);
  ready_ = READYSTATE_COMPLETE;
}

STDMETHODIMP Browser::get_ReadyState(READYSTATE* v) {
  if (!window_) return Closed();
  Record(L"ReadyState");
  *v = ready_;
  return S_OK;
}

STDMETHODIMP Browser::get_Document(IDispatch** v) {
  if (!window_) return Closed();
  Record(L"Document");
  *v = ready_ == READYSTATE_COMPLETE ? NewDocument(page_) : nullptr;
  return S_OK;
}

STDMETHODIMP Browser::Quit() {
  if (!window_) return Closed();
  Record(L"Quit");
  OnWindowClosing();
  return S_OK;
}

void Browser::OnWindowClosing() {
  if (!window_) return;
  events_.Raise(DISPID_ONQUIT, {});
  HWND w = std::exchange(window_, nullptr);
  DestroyWindow(w);
  --g_open_windows;
  // Clients now see a window that is gone; the window's own reference travels with the
  // message and is dropped after the disconnection.
  if (!PostMessageW(ServerWindow(), kDisconnect, 0, LPARAM(static_cast<IUnknown*>(static_cast<IWebBrowser2*>(this)))))
    Release();
}

void Browser::Paint(HDC dc, const RECT& area) {
  RECT r = area;
  InflateRect(&r, -4, -4);
  DrawTextW(dc, page_->body.c_str(), int(page_->body.size()), &r, DT_WORDBREAK | DT_NOPREFIX);
}

STDMETHODIMP Browser::get_Width(LONG* v) { RECT r = Bounds(); *v = r.right - r.left; return Closed(); }
STDMETHODIMP Browser::get_Height(LONG* v) { RECT r = Bounds(); *v = r.bottom - r.top; return Closed(); }
STDMETHODIMP Browser::get_Left(LONG* v) { *v = Bounds().left; return Closed(); }
STDMETHODIMP Browser::get_Top(LONG* v) { *v = Bounds().top; return Closed(); }
STDMETHODIMP Browser::get_Visible(VARIANT_BOOL* v) {
  *v = window_ && IsWindowVisible(window_) ? VARIANT_TRUE : VARIANT_FALSE;
  return Closed();
}
STDMETHODIMP Browser::get_HWND(SHANDLE_PTR* v) { *v = SHANDLE_PTR(window_); return Closed(); }

STDMETHODIMP Browser::get_LocationURL(BSTR* v) {
  *v = SysAllocStringLen(address_.data(), UINT(address_.size()));
  return S_OK;
}

STDMETHODIMP Browser::GetProperty(BSTR name, VARIANT* v) {
  VariantInit(v);
  if (!name || _wcsicmp(name, L"calls") != 0) return S_OK;
  std::wstring text;
  for (const auto& call : calls_) text += (text.empty() ? L"" : L" ") + call;
  v->vt = VT_BSTR;
  v->bstrVal = SysAllocStringLen(text.data(), UINT(text.size()));
  return S_OK;
}

STDMETHODIMP Browser::EnumConnectionPoints(IEnumConnectionPoints** out) {
  if (!out) return E_POINTER;
  *out = events_.EnumerateAsContainer();
  return S_OK;
}

STDMETHODIMP Browser::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid != DIID_DWebBrowserEvents2) return CONNECT_E_NOCONNECTION;
  *out = &events_;
  events_.AddRef();
  return S_OK;
}

}  // namespace standin
