// A command-line path that differs from a shown row only in case is found as
// a duplicate in every script, as the file system takes them for one file.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include "../unit/fake_list_storage.h"
#include "framework/win/wintext.h"
#include "list_host.h"
#include "medialist/list_persistence.h"
#include "medialist/win/media_adder.h"

namespace sorvane::win {
namespace {

TEST(AddingCaseWin, CommandLineDuplicatesAreFoundInEveryScript) {
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  struct Pair {
    const char* what;
    const char16_t *shown, *given;
  };
  const Pair pairs[] = {
      {"Cyrillic Ghe with upturn", u"\u0491", u"\u0490"},
      {"Latin B with topbar", u"\u0183", u"\u0182"},
      {"Latin S with comma below", u"\u0219", u"\u0218"},
      {"Latin DZ with caron", u"\u01C6", u"\u01C4"},
      {"Armenian", u"\u0561", u"\u0531"},
      {"Latin", u"a", u"A"},
  };
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const Text existing = T(temp) + u"sorvane_case_first.mp3";
  HANDLE h = CreateFileW(W(existing), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  CloseHandle(h);

  for (const Pair& p : pairs) {
    SCOPED_TRACE(p.what);
    sorvane::testing::FakeListStorage storage;
    storage.strings[Text(kListNamesKey)] = JoinListNames({u"Shown"});
    storage.sections[ListSectionName(0)] = Text(u"C:\\Music\\song ") + p.shown + u".mp3";
    testing::ListHost host{storage};
    host.controller.Start();
    ASSERT_EQ(host.controller.Rows().Count(), 1);
    MediaAdder adder(GetModuleHandleW(nullptr), host.window, host.controller, nullptr);
    host.answers = {Answer::kNo, Answer::kYes};  // no new list; skip duplicates
    adder.OpenFromCommandLine(u"S.exe \"" + existing + u"\" \"C:\\MUSIC\\SONG " + p.given + u".mp3\"");
    ASSERT_EQ(host.asked.size(), 2u) << "the second question is about the duplicate";
    EXPECT_EQ(host.asked[1], u"Should duplicate files be skipped?");
    EXPECT_EQ(host.controller.Rows().Count(), 2) << "the duplicate was skipped";
  }
  DeleteFileW(W(existing));
}

}  // namespace
}  // namespace sorvane::win
