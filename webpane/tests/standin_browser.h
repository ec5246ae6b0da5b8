// The stand-in browser application: IWebBrowser2 on a real top-level window, with the
// quit notification (DWebBrowserEvents2::OnQuit) when the window closes. It records
// the calls it receives; a test reads them with GetProperty("calls") and the navigated
// address with LocationURL.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>

#include <memory>
#include <string>
#include <vector>

#include "frame/connection_point.h"
#include "standin_page.h"

namespace standin {

extern const wchar_t kWindowClass[];
// An address whose page never becomes ready.
extern const wchar_t kNeverReady[];

// Objects alive in this server; it ends when none is left.
void ServerLock();
void ServerUnlock();
// Browser windows open in this process.
int OpenWindows();

class Browser final : public IWebBrowser2, public IConnectionPointContainer {
 public:
  static HRESULT Create(REFIID iid, void** out);

  // IUnknown, IDispatch
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* n) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

  // What webpane uses.
  STDMETHODIMP put_Width(LONG v) override;
  STDMETHODIMP put_Height(LONG v) override;
  STDMETHODIMP put_Left(LONG v) override;
  STDMETHODIMP put_Top(LONG v) override;
  STDMETHODIMP put_ToolBar(int v) override;
  STDMETHODIMP put_StatusBar(VARIANT_BOOL v) override;
  STDMETHODIMP put_Silent(VARIANT_BOOL v) override;
  STDMETHODIMP put_Visible(VARIANT_BOOL v) override;
  STDMETHODIMP Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override;
  STDMETHODIMP get_ReadyState(READYSTATE* v) override;
  STDMETHODIMP get_Document(IDispatch** v) override;
  STDMETHODIMP Quit() override;
  // What the tests read back (not recorded).
  STDMETHODIMP get_Width(LONG* v) override;
  STDMETHODIMP get_Height(LONG* v) override;
  STDMETHODIMP get_Left(LONG* v) override;
  STDMETHODIMP get_Top(LONG* v) override;
  STDMETHODIMP get_Visible(VARIANT_BOOL* v) override;
  STDMETHODIMP get_HWND(SHANDLE_PTR* v) override;
  STDMETHODIMP get_LocationURL(BSTR* v) override;
  STDMETHODIMP GetProperty(BSTR name, VARIANT* v) override;

  // Everything else a browser offers is not part of the stand-in.
  STDMETHODIMP GoBack() override { return E_NOTIMPL; }
  STDMETHODIMP GoForward() override { return E_NOTIMPL; }
  STDMETHODIMP GoHome() override { return E_NOTIMPL; }
  STDMETHODIMP GoSearch() override { return E_NOTIMPL; }
  STDMETHODIMP Refresh() override { return E_NOTIMPL; }
  STDMETHODIMP Refresh2(VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP Stop() override { return E_NOTIMPL; }
  STDMETHODIMP get_Application(IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP get_Parent(IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP get_Container(IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP get_Type(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP get_LocationName(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP get_Busy(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP ClientToWindow(int*, int*) override { return E_NOTIMPL; }
  STDMETHODIMP PutProperty(BSTR, VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_Name(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP get_FullName(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP get_Path(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP get_StatusBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP get_StatusText(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP put_StatusText(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP get_ToolBar(int*) override { return E_NOTIMPL; }
  STDMETHODIMP get_MenuBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP put_MenuBar(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_FullScreen(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP put_FullScreen(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP Navigate2(VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP QueryStatusWB(OLECMDID, OLECMDF*) override { return E_NOTIMPL; }
  STDMETHODIMP ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP ShowBrowserBar(VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP get_Offline(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP put_Offline(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_Silent(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_TheaterMode(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP put_TheaterMode(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_AddressBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP put_AddressBar(VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP get_Resizable(VARIANT_BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP put_Resizable(VARIANT_BOOL) override { return E_NOTIMPL; }

  // IConnectionPointContainer: the one point of DWebBrowserEvents2.
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

  // The window closes: tell the sinks, then go away as a real browser window does.
  void OnWindowClosing();
  void OnPageLoad();
  void Paint(HDC dc, const RECT& area);

 private:
  Browser();
  ~Browser();
  HRESULT LoadTypeInfo();
  void Record(const std::wstring& call);
  HRESULT Closed() const { return window_ ? S_OK : RPC_E_DISCONNECTED; }
  RECT Bounds() const;
  void MoveTo(LONG left, LONG top, LONG width, LONG height);

  LONG refs_ = 1;
  HWND window_ = nullptr;
  READYSTATE ready_ = READYSTATE_UNINITIALIZED;
  std::wstring address_;
  std::vector<std::wstring> calls_;
  std::shared_ptr<Page> page_;
  frame::ConnectionPoint events_;
  frame::ComPtr<ITypeInfo> type_info_;
};

}  // namespace standin
