#include "app/command_line.h"

#include <algorithm>

namespace sorvane {

size_t CommandLineOptions::Parse(TextView text, char16_t separator) {
  tokens_.clear();
  Text work;
  work.reserve(text.size() + 1);
  work += u' ';
  work += text;

  // Spaces inside quotes become tabs so the split below keeps quoted words
  // together. An unclosed quote ends with the text: the padding after it is
  // never part of a token.
  bool inside = false;
  Text unquoted;
  unquoted.reserve(work.size() + 4);
  for (char16_t c : work) {
    if (c == u'"') {
      inside = !inside;
      continue;
    }
    unquoted += (inside && c == u' ') ? u'\t' : c;
  }
  unquoted += u"    ";

  auto restore = [](Text s) {
    for (char16_t& c : s)
      if (c == u'\t' || c == u'\n') c = u' ';
    return s;
  };

  size_t pos = 0;
  while (pos < unquoted.size() && tokens_.size() < kMaxTokens) {
    const size_t end = std::min(unquoted.find(u' ', pos), unquoted.size());
    if (end > pos) {
      TextView piece(unquoted.data() + pos, end - pos);
      Token token;
      const size_t sep = piece.find(separator);
      if (sep == TextView::npos) {
        token.name = restore(Text(piece));
      } else {
        token.name = restore(Text(piece.substr(0, sep)));
        token.value = restore(Text(piece.substr(sep + 1)));
      }
      tokens_.push_back(std::move(token));
    }
    pos = end + 1;
  }
  return tokens_.size();
}

bool CommandLineOptions::Has(TextView name) const {
  for (const Token& t : tokens_)
    if (EqualsIgnoreCase(t.name, name)) return true;
  return false;
}

std::optional<Text> CommandLineOptions::Value(TextView name) const {
  for (const Token& t : tokens_)
    if (t.name == name) return t.value;
  return std::nullopt;
}

SpecialMode SpecialModeOf(TextView tail) {
  if (tail == u"AutoupdateService_2020") return SpecialMode::kAutoupdateService;
  if (tail == u"RESTART_TESSALOOM_2018") return SpecialMode::kRestart;
  if (tail == u"MINI_BROWSER") return SpecialMode::kMiniBrowser;
  return SpecialMode::kNone;
}

InstallerMode InstallerModeFromOptions(const CommandLineOptions& options) {
  if (options.Has(u"-?install")) return InstallerMode::kInstaller;
  if (options.Has(u"-?uninstall")) return InstallerMode::kUninstaller;
  if (options.Has(u"-?portable_install")) return InstallerMode::kPortableInstaller;
  return InstallerMode::kNone;
}

InstallerMode InstallerModeFromFileName(TextView programFileName) {
  const Text name = ToLower(programFileName);
  if (name.find(u"uninstall") != Text::npos) return InstallerMode::kUninstaller;
  if (name.find(u"portable_install") != Text::npos) return InstallerMode::kPortableInstaller;
  if (name.find(u"inst") != Text::npos || name.find(u"set_up") != Text::npos ||
      name.find(u"setup") != Text::npos)
    return InstallerMode::kInstaller;
  return InstallerMode::kNone;
}

InstallerMode ChooseInstallerMode(const CommandLineOptions& options, TextView programFileName) {
  // An explicit option wins; the file name decides only when no option chose a mode.
  const InstallerMode fromOptions = InstallerModeFromOptions(options);
  if (fromOptions != InstallerMode::kNone) return fromOptions;
  return InstallerModeFromFileName(programFileName);
}

bool StartsHidden(TextView tail, const CommandLineOptions& options) {
  if (tail.size() <= 4 && tail.find(u"-bg") != TextView::npos) return true;
  return options.Has(u"-bg");
}

Text IniPathOverrideFrom(const CommandLineOptions& options) {
  return options.Value(u"-ini").value_or(Text());
}

TextView FileNameOf(TextView path) {
  const size_t slash = path.find_last_of(u"\\/");
  return slash == TextView::npos ? path : path.substr(slash + 1);
}

}  // namespace sorvane
