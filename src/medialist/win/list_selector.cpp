#include "medialist/win/list_selector.h"

#include "framework/win/wintext.h"

namespace sorvane::win {

void ListSelector::Attach(HWND combo, ListSession& session) {
  combo_ = combo;
  session_ = &session;
  shownVersion_ = UINT64_MAX;
}

void ListSelector::Sync(bool force) {
  if (!combo_ || !session_) return;
  if (force || shownVersion_ != session_->EntriesVersion()) {
    SendMessageW(combo_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < session_->EntryCount(); ++i)
      SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(session_->EntryText(i))));
    SendMessageW(combo_, WM_SETREDRAW, TRUE, 0);
    shownVersion_ = session_->EntriesVersion();
  }
  SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(session_->Selection()), 0);
}

void ListSelector::PickUpSelection() {
  const LRESULT sel = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
  if (sel >= 0) session_->SetSelection(static_cast<int>(sel));
}

bool ListSelector::OnCommand(int code) {
  if (!combo_ || !session_) return false;
  switch (code) {
    case CBN_SELENDOK: {
      const LRESULT sel = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
      session_->OnSelectionEnded(static_cast<int>(sel));
      Sync();
      return true;
    }
    case CBN_SETFOCUS:
      PickUpSelection();
      session_->OnFocus();
      return true;
    case CBN_EDITCHANGE:
      session_->OnEditChanged();
      return true;
    case CBN_KILLFOCUS: {
      const bool edited = session_->NameEdited();
      session_->OnFocusLost(WindowText(combo_));
      if (edited) Sync(true);
      return true;
    }
    case CBN_DROPDOWN: {
      session_->OnDropDown();
      // Only the delete entry changes: replace it in place.
      const int last = session_->EntryCount() - 1;
      SendMessageW(combo_, CB_DELETESTRING, static_cast<WPARAM>(last), 0);
      SendMessageW(combo_, CB_INSERTSTRING, static_cast<WPARAM>(last),
                   reinterpret_cast<LPARAM>(W(session_->EntryText(last))));
      shownVersion_ = session_->EntriesVersion();
      return true;
    }
    default:
      return false;
  }
}

}  // namespace sorvane::win
