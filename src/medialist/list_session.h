// The set of named media lists behind the list selector, and the shown list
// in the rows: switching, creating, deleting and renaming lists, start and
// exit, and the delayed save after edits of the shown list.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "medialist/list_storage.h"
#include "medialist/media_list.h"

namespace sorvane {

enum class Answer { kYes, kNo, kCancel };
enum class QuestionIcon { kQuestion, kExclamation };

struct LocalDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
using LocalClock = std::function<LocalDateTime()>;
LocalDateTime CurrentLocalDateTime();

class ListSessionHost {
 public:
  virtual ~ListSessionHost() = default;
  // A Yes/No/Cancel message box.
  virtual Answer Ask(TextView text, TextView caption, QuestionIcon icon) = 0;
  // Runs after every load of a list into the rows: the view shows the new
  // rows, and the background probe of the loaded list starts here.
  virtual void ListLoaded(int index) = 0;
};

// Edits of the shown list reach the file within this many milliseconds; a
// burst of edits costs one write.
inline constexpr int64_t kEditSaveDelayMs = 2000;

class ListSession {
 public:
  ListSession(MediaList& rows, ListStorage& storage, ListSessionHost& host,
              LocalClock clock = CurrentLocalDateTime);

  // Fills the set from "m_PlayList", selects "m_LastSel" clamped to the names,
  // loads that list, and creates a list when there is none.
  void Start();
  // "m_LastSel" (when changed), the shown list, and "m_Sel" (when a row is selected).
  void SaveAtExit();

  // The selector: the names, then the new-list and delete-list entries.
  int ListCount() const { return static_cast<int>(names_.size()); }
  const std::vector<Text>& Names() const { return names_; }
  int EntryCount() const { return ListCount() + 2; }
  Text EntryText(int entry) const;
  int Selection() const { return selection_; }
  void SetSelection(int entry) { selection_ = entry; }
  int ShownListIndex() const { return shown_; }
  int ListIndexBeforeDrop() const { return beforeDrop_; }
  bool NameEdited() const { return nameEdited_; }
  // Grows each time the entries change, so a view can tell when to refill.
  uint64_t EntriesVersion() const { return entriesVersion_; }

  // Selector events.
  void OnSelectionEnded(int entry);      // a selection ended (CBN_SELENDOK)
  void OnFocus();                        // the selector got the focus
  void OnEditChanged();                  // the user typed in the edit field
  void OnFocusLost(TextView editText);   // the selector lost the focus
  void OnDropDown();                     // the drop-down opens

  // Inserts a list named [prefix + " "] + text 31 + local date and time
  // before the command entries and selects it; returns its index. Neither
  // loads nor saves.
  int NewMediaList(TextView prefix);
  Text SaveShownList();
  Text LoadList(int index);
  void SaveListNames();

  // The shown list was edited (added, moved, removed, imported).
  void MarkShownListEdited(int64_t nowMs);
  bool HasPendingSave() const { return dirty_; }
  int64_t PendingSaveDeadline() const { return deadline_; }
  // Saves the shown list when an edit is pending and its deadline has come.
  bool SaveIfDue(int64_t nowMs);

 private:
  void SwitchTo(int index);
  void CreateList();
  void DeleteShownList();

  MediaList& rows_;
  ListStorage& storage_;
  ListSessionHost& host_;
  LocalClock clock_;
  std::vector<Text> names_;
  bool deleteEntryNamed_ = false;  // the drop-down opened: the entry names a list
  Text deleteEntryName_;
  Text storedNames_;
  int storedLastSel_ = 0;
  int selection_ = -1;
  int shown_ = 0;
  int beforeDrop_ = -1;
  bool nameEdited_ = false;
  uint64_t entriesVersion_ = 0;
  bool dirty_ = false;
  int64_t deadline_ = 0;
};

}  // namespace sorvane
