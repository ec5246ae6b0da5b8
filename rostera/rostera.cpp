#include "rostera.h"

#include "frame/about_box.h"
#include "frame/conversions.h"

namespace rostera {
namespace {

QUILLBOX_DEFINE_COMPONENT(rostera, L"rostera", frame::ServerKind::InProcess, Rostera);

IDispatch* AsDispatch(const frame::ComPtr<frame::StringCollection>& collection) {
  return static_cast<IQuillboxCollection*>(collection.get());
}

}  // namespace

STDMETHODIMP Rostera::RosteraShow(BSTR formcaption, double* breite, double* hoehe, VARIANT_BOOL multiselect,
                                  BSTR oklabel, BSTR cancellabel, VARIANT_BOOL multiedit, VARIANT* result) {
  return frame::Guarded([&] {
    if (!result) frame::Raise(frame::kInvalidCall);
    ShowRequest request;
    request.caption = frame::View(formcaption);
    request.width = breite ? *breite : 0;
    request.height = hoehe ? *hoehe : 0;
    request.multiselect = multiselect != VARIANT_FALSE;
    request.ok_label = frame::View(oklabel);
    request.cancel_label = frame::View(cancellabel);
    request.multiedit = multiedit != VARIANT_FALSE;
    const std::shared_ptr<ListDialog> dialog = dialog_;  // held through the modal loop
    frame::Variant::Object(AsDispatch(dialog->Show(request))).DetachTo(result);
  });
}

STDMETHODIMP Rostera::GetRosteraContents(IDispatch** result) {
  return frame::Guarded([&] {
    if (!result) frame::Raise(frame::kInvalidCall);
    const frame::ComPtr<frame::StringCollection> contents = dialog_->Contents();
    *result = AsDispatch(contents);
    (*result)->AddRef();
  });
}

STDMETHODIMP Rostera::RosteraQuit() {
  return frame::Guarded([&] { dialog_->Unload(); });
}

STDMETHODIMP Rostera::About() {
  return frame::Guarded([] { frame::ShowAboutBox(); });
}

}  // namespace rostera
