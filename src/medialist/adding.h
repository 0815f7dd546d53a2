// The decisions every way of adding media shares: a path is a file or a
// folder, the command line of a start or a second start, and shortcuts.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/text.h"
#include "medialist/list_session.h"

namespace sorvane {

// File attributes as the platform reports them.
inline constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;
inline constexpr uint32_t kDirectoryAttribute = 0x10u;

// A path whose attributes cannot be read counts as a folder: the failure value
// has every bit set. Its scan finds nothing.
inline bool AttributesMeanFolder(uint32_t attributes) { return (attributes & kDirectoryAttribute) != 0; }

class AddPathHost {
 public:
  virtual ~AddPathHost() = default;
  virtual uint32_t FileAttributes(const Text& path) = 0;  // kInvalidFileAttributes when unreadable
  virtual void ImportFolderWithProgress(const Text& folder) = 0;
  virtual void AddMediaFile(const Text& path) = 0;  // with probing
};

void AddPath(AddPathHost& host, const Text& path);

// A dropped path longer than 4 characters that ends with ".lnk" in any case.
bool IsShortcutPath(TextView path);

class CommandLineHost {
 public:
  virtual ~CommandLineHost() = default;
  virtual bool PathExists(const Text& path) = 0;  // its attributes can be read
  // Column 1 (the path) of every row of the shown list.
  virtual std::vector<Text> ShownPaths() = 0;
  // A Yes/No/Cancel question with the exclamation icon.
  virtual Answer Ask(TextView text, TextView caption) = 0;
  virtual void SaveShownList() = 0;
  // Adds a list named prefix, a space, "New playlist", date and time; its index.
  virtual int NewMediaList(TextView prefix) = 0;
  virtual void SaveListNames() = 0;
  // Deletes every row of the view and makes list index the shown one.
  virtual void ShowEmptyList(int index) = 0;
  virtual void AddPath(const Text& path) = 0;
  // Saves the list the selector has selected.
  virtual void SaveMediaList() = 0;
  // The form two paths share when the file system takes them for the same
  // file: the platform's own case mapping, which covers every script. The
  // portable lower-casing here knows only some.
  virtual Text PathCaseKey(const Text& path) { return ToLower(path); }
  // The program is closing (its window is gone or a quit is pending): what is
  // left of the addition is dropped and nothing more is written.
  virtual bool Stopped() { return false; }
};

// Adds the paths named after the program on a command line. Only a line whose
// first argument exists acts; the user chooses between a new list and the
// shown one, and whether paths already in the shown list are added again.
void OpenFromCommandLine(TextView commandLine, CommandLineHost& host);

// One addition for several command lines, in arrival order: each line whose
// first argument exists gives its paths, and the questions are asked once for
// all of them. arrivedWhileAsking, when given, is called once the question
// about a new list has been answered: the lines that came while it was open
// join this addition, since the answer was given for it.
void OpenFromCommandLines(const std::vector<Text>& commandLines, CommandLineHost& host,
                          const std::function<std::vector<Text>()>& arrivedWhileAsking = nullptr);

}  // namespace sorvane
