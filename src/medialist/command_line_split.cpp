#include "medialist/command_line_split.h"

namespace sorvane {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::vector<Text> SplitCommandLine(TextView line) {
  std::vector<Text> args;
  size_t i = 0;
  const size_t n = line.size();

  Text program;
  if (i < n && line[i] == u'"') {
    ++i;
    while (i < n && line[i] != u'"') program += line[i++];
    if (i < n) ++i;  // the closing quote
  } else {
    while (i < n && !IsBlank(line[i])) program += line[i++];
  }
  args.push_back(std::move(program));
  while (i < n && IsBlank(line[i])) ++i;
  if (i >= n) return args;

  Text arg;
  int backslashes = 0;
  int quotes = 0;  // 1 while inside quotes; counts a run of quotes up to 3
  while (i < n) {
    const char16_t c = line[i];
    if (IsBlank(c) && quotes == 0) {
      args.push_back(std::move(arg));
      arg.clear();
      backslashes = 0;
      while (i < n && IsBlank(line[i])) ++i;
      if (i >= n) return args;
      continue;
    }
    if (c == u'\\') {
      arg += c;
      ++backslashes;
      ++i;
      continue;
    }
    if (c == u'"') {
      arg.resize(arg.size() - static_cast<size_t>(backslashes / 2));
      if (backslashes % 2 == 0) {
        ++quotes;
      } else {
        arg.back() = u'"';  // the odd backslash escapes the quote
      }
      backslashes = 0;
      ++i;
      // A run of quotes: every third one is literal text.
      while (i < n && line[i] == u'"') {
        if (++quotes == 3) {
          arg += u'"';
          quotes = 0;
        }
        ++i;
      }
      if (quotes == 2) quotes = 0;
      continue;
    }
    arg += c;
    backslashes = 0;
    ++i;
  }
  args.push_back(std::move(arg));
  return args;
}

Text QuoteCommandLineArgument(TextView argument) {
  if (!argument.empty() && argument.find_first_of(u" \t\"") == TextView::npos) return Text(argument);
  Text out = u"\"";
  size_t backslashes = 0;
  for (char16_t c : argument) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote escape it and each other; elsewhere they are literal.
    out.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, u'\\');  // before the closing quote
  out += u'"';
  return out;
}

}  // namespace sorvane
