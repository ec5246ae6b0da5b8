// The list dialog Form1: one per thread, shared by every object of that thread. Its
// window (with the list) is loaded hidden on first use and discarded on unloading; the
// dialog itself, with columncount, selection and multi, lives as long as an object of
// the thread does.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "frame/collection.h"
#include "frame/values.h"
#include "row_list.h"

namespace rostera {

struct ShowRequest {
  std::wstring caption;
  double width = 0;   // fractions of the screen; both 0 keep the size
  double height = 0;
  bool multiselect = true;
  std::wstring ok_label = L"&OK";
  std::wstring cancel_label = L"&Abbrechen";
  bool multiedit = false;
};

class ListDialog : public std::enable_shared_from_this<ListDialog> {
 public:
  // The dialog of the calling thread, made when the first object asks for it.
  static std::shared_ptr<ListDialog> ForThisThread();

  ListDialog() = default;
  ListDialog(const ListDialog&) = delete;
  ListDialog& operator=(const ListDialog&) = delete;
  ~ListDialog();

  // The list, loading the window hidden first when it is not loaded.
  RowList& Rows();
  bool loaded() const { return window_ != nullptr; }
  void Unload();

  short columncount = 0;

  // Shows the dialog modally and returns `selection` when it has been hidden or unloaded.
  frame::ComPtr<frame::StringCollection> Show(const ShowRequest& request);
  // A new collection with every row's text, without keys.
  frame::ComPtr<frame::StringCollection> Contents();

 private:
  static LRESULT Procedure(HWND w, UINT message, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT message, WPARAM wp, LPARAM lp);
  LRESULT Notify(const NMHDR& header);
  void Load();
  void ApplySize(double width, double height);
  void SetMultiselect(bool multiselect);
  void Layout();
  void Accept();
  void Cancel();
  void HideOrUnload();
  frame::StringCollection& Selection();

  HWND window_ = nullptr;
  HWND list_ = nullptr;
  HWND ok_ = nullptr;
  HWND cancel_ = nullptr;
  bool displayed_ = false;  // this window has been shown (and centred) once
  std::optional<RowList> rows_;
  frame::ComPtr<frame::StringCollection> selection_;
  bool multi_ = false;
};

}  // namespace rostera
