#include "internet.h"

#include "dial_up.h"
#include "error_texts.h"
#include "frame/about_box.h"
#include "frame/conversions.h"
#include "ftp_listing.h"
#include "ftp_session.h"
#include "host_names.h"
#include "last_error.h"

namespace internet {
namespace {

QUILLBOX_DEFINE_COMPONENT(internet, L"internet", frame::ServerKind::InProcess, Internet);

VARIANT_BOOL ToVariantBool(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

template <class Body>
HRESULT ReturnBool(VARIANT_BOOL* result, Body&& body) {
  return frame::Guarded([&] { *result = ToVariantBool(body()); });
}

template <class Body>
HRESULT ReturnText(BSTR* result, Body&& body) {
  return frame::Guarded([&] { *result = frame::AllocBstr(body()); });
}

}  // namespace

using frame::View;

STDMETHODIMP Internet::ConnectInternet(VARIANT_BOOL mode, VARIANT_BOOL* result) {
  return ReturnBool(result, [&] { return Dial(mode != VARIANT_FALSE); });
}

STDMETHODIMP Internet::DisconnectInternet(VARIANT_BOOL* result) {
  return ReturnBool(result, [] { return HangUp(); });
}

STDMETHODIMP Internet::ConnectionState(long* result) {
  return frame::Guarded([&] { *result = ConnectionFlags(); });
}

STDMETHODIMP Internet::OpenInternet(VARIANT* result) {
  return frame::Guarded([&] { frame::Variant::Long(internet::OpenInternet()).DetachTo(result); });
}

STDMETHODIMP Internet::connect(long handle, BSTR url, BSTR user, BSTR password, long* result) {
  return frame::Guarded([&] { *result = ConnectFtp(handle, View(url), View(user), View(password)); });
}

STDMETHODIMP Internet::GetFile(long connect, BSTR source, BSTR Dest, VARIANT_BOOL* result) {
  return ReturnBool(result, [&] { return internet::GetFile(connect, View(source), View(Dest)); });
}

STDMETHODIMP Internet::PutFile(long connect, BSTR source, BSTR Dest, VARIANT_BOOL* result) {
  return ReturnBool(result, [&] { return internet::PutFile(connect, View(source), View(Dest)); });
}

STDMETHODIMP Internet::CloseHandle(long handle) {
  return frame::Guarded([&] { CloseInternetHandle(handle); });
}

STDMETHODIMP Internet::DeleteFile(long connect, BSTR name, VARIANT_BOOL* result) {
  return ReturnBool(result, [&] { return DeleteRemoteFile(connect, View(name)); });
}

STDMETHODIMP Internet::GetLastError(BSTR* result) {
  return ReturnText(result, [] { return internet::Translate(LastError()); });
}

STDMETHODIMP Internet::GetLastErrorNumber(long* result) {
  return frame::Guarded([&] { *result = LastError(); });
}

STDMETHODIMP Internet::ChDir(long connect, BSTR dirname, VARIANT_BOOL* result) {
  return ReturnBool(result, [&] { return ChangeDirectory(connect, View(dirname)); });
}

STDMETHODIMP Internet::GetDir(long connect, BSTR* result) {
  return ReturnText(result, [&] { return CurrentDirectory(connect); });
}

STDMETHODIMP Internet::MakeDir(long connect, BSTR path, VARIANT_BOOL* result) {
  return ReturnBool(result, [&] { return MakeRemoteDirectory(connect, View(path)); });
}

STDMETHODIMP Internet::GetExtendedError(BSTR* result) {
  return ReturnText(result, [] { return ExtendedError(); });
}

STDMETHODIMP Internet::Dir(long connect, BSTR path, VARIANT* result) {
  return frame::Guarded([&] {
    std::optional<std::wstring> listing = ListDirectory(connect, View(path));
    (listing ? frame::Variant::Text(*listing) : frame::Variant()).DetachTo(result);
  });
}

STDMETHODIMP Internet::RenameFile(long connection, BSTR oldName, BSTR NewName, VARIANT_BOOL* result) {
  return ReturnBool(result, [&] { return RenameRemoteFile(connection, View(oldName), View(NewName)); });
}

STDMETHODIMP Internet::RemoveDir(long connection, BSTR dirname, VARIANT_BOOL* result) {
  return ReturnBool(result, [&] { return RemoveRemoteDirectory(connection, View(dirname)); });
}

STDMETHODIMP Internet::HostByAddress(BSTR sAddress, BSTR* result) {
  return ReturnText(result, [&] { return NameOfAddress(View(sAddress)); });
}

STDMETHODIMP Internet::HostByName(BSTR Host, BSTR* result) {
  return ReturnText(result, [&] { return AddressOfHost(View(Host)); });
}

STDMETHODIMP Internet::WinsockInit() {
  return frame::Guarded([] { StartWinsock(); });
}

STDMETHODIMP Internet::WinsockQuit() {
  return frame::Guarded([] { StopWinsock(); });
}

STDMETHODIMP Internet::Translate(long errnr, BSTR* result) {
  return ReturnText(result, [&] { return internet::Translate(errnr); });
}

STDMETHODIMP Internet::About() {
  return frame::Guarded([] { frame::ShowAboutBox(); });
}

}  // namespace internet
