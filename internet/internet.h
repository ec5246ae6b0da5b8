// The class quillbox of internet: dial-up, FTP, error texts and host names.
#pragma once

#include "frame/object.h"
// Member names of the interface that the platform's headers define as macros.
#undef DeleteFile
#include "internet_idl.h"

namespace internet {

class Internet final : public frame::Component<Internet, _quillbox> {
 public:
  STDMETHODIMP ConnectInternet(VARIANT_BOOL mode, VARIANT_BOOL* result) override;
  STDMETHODIMP DisconnectInternet(VARIANT_BOOL* result) override;
  STDMETHODIMP ConnectionState(long* result) override;
  STDMETHODIMP OpenInternet(VARIANT* result) override;
  STDMETHODIMP connect(long handle, BSTR url, BSTR user, BSTR password, long* result) override;
  STDMETHODIMP GetFile(long connect, BSTR source, BSTR Dest, VARIANT_BOOL* result) override;
  STDMETHODIMP PutFile(long connect, BSTR source, BSTR Dest, VARIANT_BOOL* result) override;
  STDMETHODIMP CloseHandle(long handle) override;
  STDMETHODIMP DeleteFile(long connect, BSTR name, VARIANT_BOOL* result) override;
  STDMETHODIMP GetLastError(BSTR* result) override;
  STDMETHODIMP GetLastErrorNumber(long* result) override;
  STDMETHODIMP ChDir(long connect, BSTR dirname, VARIANT_BOOL* result) override;
  STDMETHODIMP GetDir(long connect, BSTR* result) override;
  STDMETHODIMP MakeDir(long connect, BSTR path, VARIANT_BOOL* result) override;
  STDMETHODIMP GetExtendedError(BSTR* result) override;
  STDMETHODIMP Dir(long connect, BSTR path, VARIANT* result) override;
  STDMETHODIMP RenameFile(long connection, BSTR oldName, BSTR NewName, VARIANT_BOOL* result) override;
  STDMETHODIMP RemoveDir(long connection, BSTR dirname, VARIANT_BOOL* result) override;
  STDMETHODIMP HostByAddress(BSTR sAddress, BSTR* result) override;
  STDMETHODIMP HostByName(BSTR Host, BSTR* result) override;
  STDMETHODIMP WinsockInit() override;
  STDMETHODIMP WinsockQuit() override;
  STDMETHODIMP Translate(long errnr, BSTR* result) override;
  STDMETHODIMP About() override;
};

}  // namespace internet
