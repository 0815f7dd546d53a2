#include "medialist/win/probe_part.h"

#include "language/language_store.h"
#include "language/win/language_win.h"
#include "medialist/list_strings.h"

namespace sorvane::win {
namespace {

ProbeTexts CurrentProbeTexts() {
  LanguageStore& store = Languages();
  return {LangStringOr(store, 125, u"Tip: Add Files via Drag and Drop"), LangStringOr(store, 177, u"Checking media..."),
          LangStringOr(store, 178, u"Media checked. Errors:")};
}

}  // namespace

ProbePart::~ProbePart() {
  // The worker posts to the window and reads nothing of ours, but it must not outlive the part.
  if (probe_) probe_->StopProbe();
}

void ProbePart::OnInitDialog(PartHost& window) { probe_ = std::make_unique<ProbeHost>(window.Window()); }

void ProbePart::StartProbe() {
  if (!probe_) return;
  probe_->StartProbe(MakeProbeJob(lists_.Controller().Rows(), CurrentProbeTexts()));
}

bool ProbePart::OnMessage(PartHost& window, UINT message, WPARAM, LPARAM, LRESULT& result) {
  if (message == kProbeResultMessage) {
    if (probe_) {
      MediaListView::RowChangeBatch drawnOnce(lists_.Controller().View());
      probe_->OnProbeResult(lists_.Rows(), [&window](TextView text) { window.SetStatusText(Text(text)); });
    }
    result = 0;
    return true;
  }
  if (message == RetranslateMessage() && message != 0) {
    // An empty list's status is the tip: probing it again costs nothing, shows the
    // tip in the new language and drops a result of the old language still on its way.
    // A probed list keeps its counts until its next probe.
    if (lists_.Controller().Rows().Count() == 0) StartProbe();
    return false;
  }
  return false;
}

void ProbePart::OnClose(PartHost&) {
  if (probe_) probe_->StopProbe();
}

}  // namespace sorvane::win
