// Command-line options and the start decisions that follow from them. Pure
// rules: the entry point feeds in the command-line tail and the program's own
// file name and acts on the answers.
#pragma once

#include <optional>
#include <vector>

#include "framework/text.h"

namespace sorvane {

// Exit codes of the process.
inline constexpr int kExitNormal = 45054;          // the main window closed
inline constexpr int kExitForwarded = 0;           // handed over to a running copy
inline constexpr int kExitQuitRequest = 0;         // quit request through the instance message
inline constexpr int kExitStartFailed = 0;         // no language archive, no main window
inline constexpr int kExitAutoupdateService = 1;

// The WM_COPYDATA tag of a forwarded command line.
inline constexpr unsigned kForwardCommandLineTag = 10100;

class CommandLineOptions {
 public:
  static constexpr size_t kMaxTokens = 256;

  struct Token {
    Text name;
    std::optional<Text> value;  // absent when the token had no separator
  };

  // Splits the text into tokens: double quotes group words (and are dropped),
  // a token "name<sep>value" carries a value. Returns the token count.
  size_t Parse(TextView text, char16_t separator = u':');
  // A token with this name, compared without regard to case.
  bool Has(TextView name) const;
  // The value of the first token whose name equals this one exactly; none when
  // there is no such token or it carries no value.
  std::optional<Text> Value(TextView name) const;

  const std::vector<Token>& Tokens() const { return tokens_; }

 private:
  std::vector<Token> tokens_;
};

enum class SpecialMode { kNone, kAutoupdateService, kRestart, kMiniBrowser };
// The whole-line modes, compared exactly (case-sensitive).
SpecialMode SpecialModeOf(TextView commandLineTail);

enum class InstallerMode { kNone, kInstaller, kUninstaller, kPortableInstaller };
// "-?install", then "-?uninstall", then "-?portable_install".
InstallerMode InstallerModeFromOptions(const CommandLineOptions& options);
// The program's own file name (without folder) when no option chose a mode.
InstallerMode InstallerModeFromFileName(TextView programFileName);
// An option chooses first; the file name only when no option chose a mode.
InstallerMode ChooseInstallerMode(const CommandLineOptions& options, TextView programFileName);

// The window starts hidden for the token "-bg" (any case) or a command line of
// at most four characters that contains "-bg".
bool StartsHidden(TextView commandLineTail, const CommandLineOptions& options);

// The "-ini:" value, or empty.
Text IniPathOverrideFrom(const CommandLineOptions& options);

// The file name part of a path (after the last '\' or '/').
TextView FileNameOf(TextView path);

}  // namespace sorvane
