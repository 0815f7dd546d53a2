#include "medialist/list_session.h"

#include <algorithm>
#include <ctime>

#include "medialist/list_persistence.h"
#include "medialist/list_strings.h"

namespace sorvane {

LocalDateTime CurrentLocalDateTime() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &now);
#else
  localtime_r(&now, &tm);
#endif
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

ListSession::ListSession(MediaList& rows, ListStorage& storage, ListSessionHost& host, LocalClock clock)
    : rows_(rows), storage_(storage), host_(host), clock_(std::move(clock)) {}

Text ListSession::EntryText(int entry) const {
  if (entry >= 0 && entry < ListCount()) return names_[static_cast<size_t>(entry)];
  if (entry == ListCount()) return u"....   + " + ListString(list_string::kAddNewPlaylist);
  // Texts are looked up each time, so a change of language shows at once.
  if (entry == ListCount() + 1)
    return deleteEntryNamed_ ? u"... " + ListString(list_string::kRemove) + u": " + deleteEntryName_
                             : u"    - " + ListString(list_string::kRemove);
  return {};
}

void ListSession::Start() {
  storedLastSel_ = storage_.ReadProductInt(kLastListKey, 0);
  storedNames_ = storage_.ReadProgramString(kListNamesKey, kDefaultListNames);
  names_ = SplitListNames(storedNames_);
  ++entriesVersion_;
  selection_ = names_.empty() ? 0 : std::clamp(storedLastSel_, 0, ListCount() - 1);
  LoadList(selection_);
  if (names_.empty()) {
    // The new list becomes the shown one; its section is whatever list 0 held.
    shown_ = NewMediaList({});
    SaveListNames();
  }
}

void ListSession::SaveAtExit() {
  // The rows belong to the shown list; the selection differs from it only
  // while the user is still choosing, so the shown index is what is stored.
  if (shown_ != storedLastSel_ && storage_.WriteProductInt(kLastListKey, shown_)) storedLastSel_ = shown_;
  SaveShownList();
  const int first = rows_.FirstSelected();
  if (first >= 0) storage_.WriteProductInt(kLastRowKey, first);
}

int ListSession::NewMediaList(TextView prefix) {
  const LocalDateTime t = clock_();
  // "%04d" for the year: the shared formatter knows "%02d" and "%d" only.
  Text year = Format(u"%d", {t.year});
  if (year.size() < 4) year.insert(0, 4 - year.size(), u'0');
  Text name = Format(u"%s %02d/%02d/%s %02d:%02d:%02d",
                     {TextView(ListString(list_string::kNewPlaylist)), t.month, t.day, TextView(year), t.hour,
                      t.minute, t.second});
  if (!prefix.empty()) name = Text(prefix) + u" " + name;
  const int n = ListCount();
  names_.push_back(std::move(name));
  selection_ = n;
  ++entriesVersion_;
  return n;
}

Text ListSession::SaveShownList() {
  dirty_ = false;
  return SaveMediaList(rows_, storage_, shown_);
}

Text ListSession::LoadList(int index) {
  Text text = LoadMediaList(rows_, storage_, index);
  shown_ = index;
  dirty_ = false;
  host_.ListLoaded(index);
  return text;
}

void ListSession::SaveListNames() {
  const Text joined = JoinListNames(names_);
  if (joined != storedNames_ && storage_.WriteProgramString(kListNamesKey, joined)) storedNames_ = joined;
}

void ListSession::OnSelectionEnded(int entry) {
  const int n = ListCount();
  if (entry < 0 || entry > n + 1) return;
  if (entry < n) {
    selection_ = entry;
    SwitchTo(entry);
  } else if (entry == n) {
    CreateList();
  } else {
    DeleteShownList();
  }
  // A rename typed right after this applies to the list now selected.
  beforeDrop_ = selection_;
}

void ListSession::SwitchTo(int index) {
  SaveShownList();
  LoadList(index);
}

void ListSession::CreateList() {
  const Text kept = SaveShownList();
  const int n = NewMediaList({});
  const Answer a = host_.Ask(ListString(list_string::kCopyTitlesQuestion), ListString(list_string::kQuestionCaption),
                             QuestionIcon::kQuestion);
  SaveListNames();
  if (a == Answer::kYes)
    storage_.WriteLongValue(ListSectionName(n), kept);
  else
    storage_.DeleteSection(ListSectionName(n));
  LoadList(n);
}

void ListSession::DeleteShownList() {
  SaveShownList();
  const Answer a = host_.Ask(ListString(list_string::kRemoveAllWarning), ListString(list_string::kWarningCaption),
                             QuestionIcon::kExclamation);
  if (a != Answer::kYes) {
    selection_ = shown_;
    return;
  }
  const int d = shown_;
  const int n = ListCount();
  if (d >= 0 && d < n) {
    // The lists after d move down one section; the last section is left empty.
    for (int i = d + 1; i < n; ++i)
      storage_.WriteLongValue(ListSectionName(i - 1), storage_.ReadLongValue(ListSectionName(i)));
    storage_.DeleteSection(ListSectionName(n - 1));
    names_.erase(names_.begin() + d);
    ++entriesVersion_;
  }
  SaveListNames();
  if (names_.empty()) {
    NewMediaList({});
    SaveListNames();
  }
  selection_ = 0;
  LoadList(0);
}

void ListSession::OnFocus() { beforeDrop_ = selection_; }

void ListSession::OnEditChanged() { nameEdited_ = true; }

void ListSession::OnFocusLost(TextView editText) {
  if (!nameEdited_) return;
  nameEdited_ = false;
  const int k = beforeDrop_;
  if (k < 0 || k >= ListCount()) return;
  if (editText.size() >= 2) {
    names_[static_cast<size_t>(k)] = Text(editText);
    ++entriesVersion_;
  }
  selection_ = k;
  SaveListNames();
}

void ListSession::OnDropDown() {
  deleteEntryName_ = beforeDrop_ >= 0 && beforeDrop_ < ListCount() ? names_[static_cast<size_t>(beforeDrop_)] : Text();
  deleteEntryNamed_ = true;
  ++entriesVersion_;
}

void ListSession::MarkShownListEdited(int64_t nowMs) {
  if (dirty_) return;  // the first edit of a burst sets the deadline
  dirty_ = true;
  deadline_ = nowMs + kEditSaveDelayMs;
}

bool ListSession::SaveIfDue(int64_t nowMs) {
  if (!dirty_ || nowMs < deadline_) return false;
  SaveShownList();
  return true;
}

}  // namespace sorvane
