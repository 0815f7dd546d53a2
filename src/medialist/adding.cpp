#include "medialist/adding.h"

#include <unordered_set>

#include "medialist/adding_strings.h"
#include "medialist/command_line_split.h"

namespace sorvane {

void AddPath(AddPathHost& host, const Text& path) {
  if (AttributesMeanFolder(host.FileAttributes(path)))
    host.ImportFolderWithProgress(path);
  else
    host.AddMediaFile(path);
}

bool IsShortcutPath(TextView path) {
  return path.size() > 4 && EqualsIgnoreCase(path.substr(path.size() - 4), u".lnk");
}

void OpenFromCommandLine(TextView commandLine, CommandLineHost& host) {
  const std::vector<Text> args = SplitCommandLine(commandLine);
  if (args.size() < 2) return;
  if (!host.PathExists(args[1])) return;

  // Taken once: paths added below do not count as duplicates of each other.
  std::unordered_set<Text> known;
  for (const Text& path : host.ShownPaths()) known.insert(host.PathCaseKey(path));

  const Text caption = AddingString(adding_string::kQuestionCaption);
  bool isNew = false;
  if (host.Ask(AddingString(adding_string::kNewListQuestion), caption) == Answer::kYes) {
    // The shown list is written before the view is emptied, so edits not yet
    // saved are kept.
    host.SaveShownList();
    const int index = host.NewMediaList(AddingString(adding_string::kCommandLineListPrefix));
    host.SaveListNames();
    host.ShowEmptyList(index);
    isNew = true;
  }

  bool skipDuplicates = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const Text& arg = args[i];
    if (!isNew && known.count(host.PathCaseKey(arg)) != 0) {
      if (skipDuplicates) continue;
      if (host.Ask(AddingString(adding_string::kSkipDuplicatesQuestion), caption) == Answer::kYes) {
        skipDuplicates = true;
        continue;
      }
    }
    host.AddPath(arg);
  }
  host.SaveMediaList();
}

}  // namespace sorvane
