// Splitting a command line into arguments with the platform's rules for a
// program's command line, so that a forwarded line splits here exactly as it
// did for the second start.
#pragma once

#include <vector>

#include "framework/text.h"

namespace sorvane {

// Argument 0 is the program: a leading quote runs it to the next quote,
// otherwise it ends at the first blank or tab; nothing in it is escaped.
// Then arguments are separated by blanks and tabs outside quotes; 2n
// backslashes before a quote give n backslashes and the quote toggles quoting,
// 2n+1 give n backslashes and a literal quote; other backslashes are literal;
// within quotes a doubled quote gives a literal quote (a tripled one as well,
// ending the quotes). An empty line gives one empty argument 0.
std::vector<Text> SplitCommandLine(TextView line);

// One argument (not argument 0) written so that SplitCommandLine gives it back
// unchanged: quoted when it is empty or holds a blank, tab or quote, with the
// backslashes before a quote and at the end doubled.
Text QuoteCommandLineArgument(TextView argument);

}  // namespace sorvane
