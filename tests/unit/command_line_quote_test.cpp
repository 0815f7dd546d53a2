// Arguments written for a command line come back unchanged when the line is
// split with the platform's rules: blanks, quotes and backslashes in every
// position that changes their meaning.
#include <gtest/gtest.h>

#include "medialist/command_line_split.h"

namespace sorvane {
namespace {

TEST(CommandLineQuote, JoinedArgumentsSplitBackUnchanged) {
  const struct {
    Text argument;
    Text written;
  } cases[] = {
      {u"plain", u"plain"},
      {u"", u"\"\""},
      {u"C:\\Music\\a b.mp3", u"\"C:\\Music\\a b.mp3\""},
      {u"tab\there", u"\"tab\there\""},
      {u"say \"hi\"", u"\"say \\\"hi\\\"\""},
      {u"C:\\folder with space\\", u"\"C:\\folder with space\\\\\""},
      {u"a\\\\\"b", u"\"a\\\\\\\\\\\"b\""},
      {u"no\\quote\\needed", u"no\\quote\\needed"},
      {u"\"", u"\"\\\"\""},
      {u"\U0001F3B5 mix.mp3", u"\"\U0001F3B5 mix.mp3\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(QuoteCommandLineArgument(c.argument), c.written);
    const std::vector<Text> split = SplitCommandLine(u"prog.exe x " + QuoteCommandLineArgument(c.argument) + u" y");
    ASSERT_EQ(split.size(), 4u);
    EXPECT_EQ(split[2], c.argument);
    EXPECT_EQ(split[3], u"y");
  }
}

}  // namespace
}  // namespace sorvane
