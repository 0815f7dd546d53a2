// Text helpers of the portable core. The system's text is UTF-16: every count
// (1023-character cuts, 63-character keys, 32000-character chunks) is in UTF-16
// code units, the same on Linux and Windows.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace sorvane {

using Text = std::u16string;
using TextView = std::u16string_view;

// UTF-8 <-> UTF-16. Invalid input is replaced by U+FFFD, never read past its end.
Text FromUtf8(std::string_view utf8);
// Appends one Unicode code point as UTF-16 (a surrogate pair above U+FFFF).
void AppendCodePoint(Text& out, char32_t codePoint);
std::string ToUtf8(TextView text);

// Lower-casing as the platform's CharLowerW does for the scripts users name
// files in (Latin, Greek, Cyrillic, full-width Latin); other code units stay.
char16_t ToLowerChar(char16_t c);
Text ToLower(TextView text);
bool EqualsIgnoreCase(TextView a, TextView b);

// Like _wtoi: optional blanks, optional sign, digits; no digits give 0.
// Overflow saturates instead of being undefined.
int ParseInt(TextView text);
// Like _wtof for the "%f" texts the program writes; bad text gives 0.0.
double ParseDouble(TextView text);

void ReplaceAll(Text& text, TextView from, TextView to);
TextView Trim(TextView text);  // blanks, tabs, CR and LF on both ends

// The few printf formats the program uses: "%d", "%02d", "%f", "%s" and "%%".
// Arguments are taken in order; a missing argument prints nothing.
using FormatArg = std::variant<int, double, TextView>;
Text Format(TextView format, std::initializer_list<FormatArg> args);

}  // namespace sorvane
