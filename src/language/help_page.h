// The information box text and the generated help page, both made of the
// current language's strings.
#pragma once

#include <functional>
#include <optional>

#include "framework/text.h"

namespace sorvane {

// A lookup of string ids; an absent text counts as empty.
using StringLookup = std::function<std::optional<TextView>(int id)>;

inline constexpr int kInfoCommand = 32915;
inline constexpr int kHelpCommand = 57670;
inline constexpr int kFaqCommand = 33206;
inline constexpr int kHomepageCommand = 32821;
inline constexpr int kHistoryCommand = 32913;
inline constexpr int kDonateCommand = 32914;
inline constexpr TextView kHelpPageFileName = u"tmp_htm__dok_hlp.html";

// Paragraphs 91 to 94 and the command-line lines 97 to 100 (at most 10,240
// characters); the box's title is text 90.
Text BuildInformationText(const StringLookup& lookup);

// The whole HTML page from the help texts 301 to 404.
Text BuildHelpPage(const StringLookup& lookup);

// The web address behind one of the four web items of the Info menu, or empty
// for any other command. base is info string 23 (German) or 24.
Text WebItemAddress(int command, TextView base);

}  // namespace sorvane
