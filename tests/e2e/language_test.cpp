// The interface languages seen from outside the process: the archive found in
// the program's own file, the error of a damaged copy, switching to German
// from the Language submenu, and the generated help page.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "harness.h"

using namespace e2e;

namespace {

constexpr UINT kGerman = 33000;
constexpr UINT kHelp = 57670;
constexpr UINT kInfo = 32915;
constexpr UINT kCommandClose = 32916;

std::string ReadAll(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(f);
  return bytes;
}

bool WriteAll(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(f);
  return ok;
}

// Shows the information box and tells whether its text contains the given
// words; the menus of another process cannot be read under Wine, the box can.
bool InfoBoxShows(const Process& p, HWND window, const std::wstring& words) {
  SendCommand(window, kInfo);
  HWND box = p.WaitForMessageBox(words, 10000);
  if (!box) return false;
  PressButton(box, IDOK);
  return true;
}

std::wstring TempPath() {
  wchar_t buffer[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, buffer);
  return buffer;
}

class Languages : public testing::Test {
 protected:
  std::wstring Install() {
    const std::wstring path = programFolder / L"Sorvane.exe";
    EXPECT_TRUE(CopyProgramTo(path));
    return path;
  }
  AppDataRedirect appData;
  TempFolder programFolder{L"lang"};
};

TEST_F(Languages, StartsWithTheArchiveFromItsOwnFile) {
  const std::string exe = ReadAll(SorvaneExe());
  const std::string begin = std::string("\n<!- ------SDSGDGSDHREETETBCNMJUKR") + "----------\n";
  size_t at = exe.find(begin);
  ASSERT_NE(at, std::string::npos) << "the archive's begin marker is not in the program file";
  EXPECT_EQ(exe.find(begin, at + 1), std::string::npos) << "the marker must occur once only";

  Process p;
  ASSERT_TRUE(p.Start(Install()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(TextOf(w).rfind(L"Sorvane 1.01 ", 0), 0u) << "info string 19 comes from the archive";
  EXPECT_TRUE(InfoBoxShows(p, w, L"Sorvane is an ultra-fast and portable media player"));
  SendCommand(w, kCommandClose);
  EXPECT_TRUE(p.WaitForExit().has_value());
}

TEST_F(Languages, DamagedMarkerShowsTheErrorAndEndsWithZero) {
  std::string exe = ReadAll(SorvaneExe());
  const std::string begin = std::string("\n<!- ------SDSGDGSDHREETETBCNMJUKR") + "----------\n";
  size_t at = exe.find(begin);
  ASSERT_NE(at, std::string::npos);
  exe[at + 20] = 'x';
  const std::wstring damaged = programFolder / L"Sorvane.exe";
  ASSERT_TRUE(WriteAll(damaged, exe));

  Process p;
  ASSERT_TRUE(p.Start(damaged));
  HWND box = p.WaitForMessageBox(L"Error! Loading language file string archive");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(TextOf(box), L"Error!");
  SaveScreenshot(L"language_archive_error");
  PressButton(box, IDOK);
  auto code = p.WaitForExit();
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
  EXPECT_FALSE(ReadUtf16Ini(appData.IniPath()).has_value()) << "no window, no settings file";
}

TEST_F(Languages, ChoosingGermanStoresLngAndTranslatesTheWindow) {
  Process p;
  ASSERT_TRUE(p.Start(Install()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  SendCommand(w, kGerman);
  EXPECT_TRUE(InfoBoxShows(p, w, L"Sorvane ist ein ultraschneller, portabler Mediaplayer"));
  SaveScreenshot(L"language_german");
  auto ini = ReadUtf16Ini(appData.IniPath());
  ASSERT_TRUE(ini.has_value());
  EXPECT_EQ(IniValue(*ini, L"Program", L"lng").value_or(L"<absent>"), L"0");
  SendCommand(w, kCommandClose);
  ASSERT_TRUE(p.WaitForExit().has_value());

  // The next start reads the stored choice.
  Process again;
  ASSERT_TRUE(again.Start(programFolder / L"Sorvane.exe"));
  HWND w2 = again.WaitForMainWindow();
  ASSERT_NE(w2, nullptr);
  EXPECT_TRUE(InfoBoxShows(again, w2, L"Sorvane ist ein ultraschneller"));
  SendCommand(w2, kCommandClose);
  EXPECT_TRUE(again.WaitForExit().has_value());
}

TEST_F(Languages, HelpCommandWritesTheHelpPage) {
  const std::wstring page = TempPath() + L"tmp_htm__dok_hlp.html";
  DeleteFileW(page.c_str());
  Process p;
  ASSERT_TRUE(p.Start(Install()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  SendCommand(w, kHelp);
  std::string bytes;
  // The page is complete once its closing tags are there; the cap only ends a run that hangs.
  const std::string closing("<\0/\0d\0i\0v\0>\0\r\0\n\0", 16);
  WaitUntil([&] { return (bytes = ReadAll(page)).size() >= 1000 && bytes.ends_with(closing); }, 60000);
  ASSERT_GE(bytes.size(), 2u) << "no help page in the temporary folder";
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
  EXPECT_EQ(text.rfind(L"<html><head><style>\n", 0), 0u);
  EXPECT_NE(text.find(L"<li><a href=\"#1\">Sorvane \u2013 Quick Help & Guide</a></li>"), std::wstring::npos);
  EXPECT_NE(text.find(L"<h3 id=\"7\">6. Tray Mode</h3>"), std::wstring::npos);
  EXPECT_NE(text.find(L"<hr>"), std::wstring::npos);
  EXPECT_EQ(text.substr(text.size() - 16), L"</div>\r\n</div>\r\n");
  SendCommand(w, kCommandClose);
  EXPECT_TRUE(p.WaitForExit().has_value());
}

}  // namespace
