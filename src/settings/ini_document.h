// An INI file in memory with the platform's private-profile semantics: names
// looked up without regard to case and surrounding blanks, values trimmed,
// the first of duplicate sections or keys wins. Serialised in the normalised
// form the platform's writer produces: UTF-16LE with byte-order mark,
// "[Section]\r\n" then "key=value\r\n" lines, no blank lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/text.h"

namespace sorvane {

struct IniEntry {
  Text name;
  Text value;
  bool hasValue = false;  // a line without "=" (a comment, stray text) is kept but has no value
};

struct IniSection {
  Text name;
  bool hasHeader = true;  // false only for the lines before the first header
  std::vector<IniEntry> entries;
};

class IniDocument {
 public:
  // Bytes as stored: FF FE and UTF-16LE, anything else is ANSI text that the
  // caller has already converted (ansiText) since only the platform knows the code page.
  static bool HasUtf16Bom(std::string_view bytes);
  static Text DecodeUtf16(std::string_view bytes);  // after the byte-order mark; an odd last byte is dropped
  static IniDocument Parse(TextView text);

  std::string Serialize() const;

  // The stored value, or nullptr when the section, the key or its "=" is missing.
  // Right after a Set it may still end in blanks that a reader would trim.
  const Text* Find(TextView section, TextView key) const;
  // Value as GetPrivateProfileString hands it out: one pair of matching quotes removed.
  static TextView Unquote(TextView value);

  // Creates the section (at the end) and the key (at the end of its section) as
  // needed. Refused (false) when a name is blank or any text holds a line break,
  // which would split the line and change the file's structure.
  bool Set(TextView section, TextView key, TextView value);
  bool SetOwned(TextView section, TextView key, Text&& value);  // moves a long value in instead of copying it
  // Removes every section of that name; true when one was there.
  bool DeleteSection(TextView section);

  const std::vector<IniSection>& Sections() const { return sections_; }

  // Trims every name and value as reading the serialised document would. Set
  // and DeleteSection do it first when the previous Set left untrimmed text, so
  // a document kept across writes serialises as one read back before each write.
  void Normalize();

 private:
  IniSection* FindSection(TextView trimmedName);
  std::vector<IniSection> sections_;
  bool raw_ = false;  // the last Set may have left trailing blanks
};

// Blank as the profile reader sees it: space, tab, line breaks, vertical tab, form feed, end-of-file mark.
bool IsIniBlank(char16_t c);
TextView TrimIni(TextView text);

}  // namespace sorvane
