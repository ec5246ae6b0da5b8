// The class quillbox of rostera: a list with several columns that the script fills and
// the dialog in which the user picks rows from it.
#pragma once

#include <memory>

#include "frame/object.h"
#include "list_dialog.h"
#include "rostera_idl.h"

namespace rostera {

class Rostera final : public frame::Component<Rostera, _quillbox> {
 public:
  STDMETHODIMP RosteraShow(BSTR formcaption, double* breite, double* hoehe, VARIANT_BOOL multiselect, BSTR oklabel,
                           BSTR cancellabel, VARIANT_BOOL multiedit, VARIANT* result) override;
  STDMETHODIMP AddHeader(BSTR name, short breite) override;
  STDMETHODIMP AddItem(BSTR name, VARIANT* result) override;
  STDMETHODIMP AddSubItem(short position, BSTR name) override;
  STDMETHODIMP RosteraSort(short kat, short order) override;
  STDMETHODIMP GetRosteraContents(IDispatch** result) override;
  STDMETHODIMP RemoveItem(BSTR keyname) override;
  STDMETHODIMP RosteraQuit() override;
  STDMETHODIMP About() override;

 private:
  // Shared with every object of this thread.
  std::shared_ptr<ListDialog> dialog_ = ListDialog::ForThisThread();
  // This object's own counters; they survive the list's discarding.
  short column_counter_ = -1;
  short row_counter_ = 0;
  bool added_row_ = false;
  std::weak_ptr<Row> last_row_;  // expires when the row leaves the list
};

}  // namespace rostera
