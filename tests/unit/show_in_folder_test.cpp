#include "medialist/show_in_folder.h"

#include <gtest/gtest.h>

namespace sorvane {
namespace {

TEST(ShowInFolder, OnlyPathsThatCanNameAFileReachTheExplorer) {
  struct Case {
    Text path;
    bool allowed;
  };
  const Case cases[] = {
      {u"C:\\Music\\a.mp3", true},
      {u"c:\\Music\\Ґ (live), #1 & more.mp3", true},
      {u"\\\\server\\share\\a.mp3", true},
      {u"\\\\?\\C:\\very\\long\\a.mp3", true},
      {u"relative\\a.mp3", true},
      {u"C:\\Music\\a\".mp3\" /root,C:\\Windows", false},
      {u"C:\\Music\\a<b.mp3", false},
      {u"C:\\Music\\a>b.mp3", false},
      {u"C:\\Music\\a|b.mp3", false},
      {u"C:\\Music\\a?.mp3", false},
      {u"C:\\Music\\*.mp3", false},
      {u"C:\\Music\\a\tb.mp3", false},
      {Text(u"C:\\Music\\a") + u'\x01' + u".mp3", false},
      {u"C:\\Music\\a.mp3:stream", false},
      {u"CC:\\a.mp3", false},
      {u"1:\\a.mp3", false},
      {u"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CanNameAFile(c.path), c.allowed) << ToUtf8(c.path);
    const auto arguments = ShowInFolderArguments(c.path);
    EXPECT_EQ(arguments.has_value(), c.allowed) << ToUtf8(c.path);
    if (arguments) EXPECT_EQ(*arguments, u"/select,\"" + c.path + u"\"");
  }
}

}  // namespace
}  // namespace sorvane
