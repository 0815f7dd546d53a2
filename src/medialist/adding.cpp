#include "medialist/adding.h"

#include <iterator>
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

namespace {

// The paths a command line names after the program; none unless the first of
// them exists (a line of options only is not an addition).
void AppendCommandLinePaths(TextView commandLine, CommandLineHost& host, std::vector<Text>& paths) {
  std::vector<Text> args = SplitCommandLine(commandLine);
  if (args.size() < 2) return;
  if (!host.PathExists(args[1])) return;
  paths.insert(paths.end(), std::make_move_iterator(args.begin() + 1), std::make_move_iterator(args.end()));
}

}  // namespace

void OpenFromCommandLine(TextView commandLine, CommandLineHost& host) {
  OpenFromCommandLines({Text(commandLine)}, host);
}

void OpenFromCommandLines(const std::vector<Text>& commandLines, CommandLineHost& host,
                          const std::function<std::vector<Text>()>& arrivedWhileAsking) {
  std::vector<Text> paths;
  for (const Text& line : commandLines) AppendCommandLinePaths(line, host, paths);
  if (paths.empty()) return;

  // Taken once: paths added below do not count as duplicates of each other.
  std::unordered_set<Text> known;
  for (const Text& path : host.ShownPaths()) known.insert(host.PathCaseKey(path));

  const Text caption = AddingString(adding_string::kQuestionCaption);
  const Answer newList = host.Ask(AddingString(adding_string::kNewListQuestion), caption);
  if (host.Stopped()) return;
  if (arrivedWhileAsking)
    for (const Text& line : arrivedWhileAsking()) AppendCommandLinePaths(line, host, paths);

  bool isNew = false;
  if (newList == Answer::kYes) {
    // The shown list is written before the view is emptied, so edits not yet
    // saved are kept.
    host.SaveShownList();
    const int index = host.NewMediaList(AddingString(adding_string::kCommandLineListPrefix));
    host.SaveListNames();
    host.ShowEmptyList(index);
    isNew = true;
  }

  bool skipDuplicates = false;
  for (const Text& path : paths) {
    if (!isNew && known.count(host.PathCaseKey(path)) != 0) {
      if (skipDuplicates) continue;
      const Answer skip = host.Ask(AddingString(adding_string::kSkipDuplicatesQuestion), caption);
      if (host.Stopped()) return;
      if (skip == Answer::kYes) {
        skipDuplicates = true;
        continue;
      }
    }
    host.AddPath(path);
    if (host.Stopped()) return;
  }
  host.SaveMediaList();
}

}  // namespace sorvane
