// The Win32 face of the interface languages: loading the archive from the
// program's own file, detection from the user's language, the Language submenu
// and its commands (language switch, translator template, translation test).
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

#include "language/language_store.h"
#include "framework/text.h"

namespace sorvane::win {

// Reads the program's own file and loads the archive found in it into
// Languages(). On failure shows "Error! Loading language file string archive"
// (no owner, title "Error!") and posts a quit request; the caller then ends
// the process with exit code 0.
bool LoadLanguageArchive();
// The same without the message box, from any file (tests, tools).
bool LoadLanguageArchiveFromFile(const Text& path, LanguageStore& store);

// Sent to the main window after the language changed or a translation file
// was loaded: every part that shows language texts sets them again on it (and
// answers false, so that the others see it too).
UINT RetranslateMessage();

// Whole file into text: FF FE starts UTF-16LE, otherwise the ANSI code page.
// False (text unchanged) when the file cannot be opened.
bool ReadTextFile(const Text& path, Text& text);
Text AnsiToText(std::string_view bytes);

// Writes text as UTF-16LE with byte-order mark, replacing the file. False when
// the file cannot be created.
bool WriteUtf16File(const Text& path, TextView text);

// Asks the shell to open a file or address, shown normally. Tests replace the
// opener so that no editor or browser starts.
void OpenWithShell(const Text& target);
void SetShellOpenerForTests(std::function<void(const Text&)> opener);

// The temporary folder with a trailing backslash.
Text TempFolder();

// The Language submenu (built from the store) appended to menu with text 77.
HMENU BuildLanguageSubmenu();
void AppendLanguageMenu(HMENU programMenu);

// What the main window lends to the language commands.
struct LanguageCommandHooks {
  std::function<void()> retranslate;         // sets every text of the main window again
  std::function<void(int index)> saveLanguage;  // writes "lng" of section "Program"
};

// Commands 33000 to 33200. False for any other id.
bool HandleLanguageCommand(HWND mainWindow, int commandId, const LanguageCommandHooks& hooks);

// Command 33100: writes the template into the temporary folder, opens it and
// returns its path.
Text ExportTranslationTemplate();
// The file part of command 33101: loads the file as the override and returns
// the report text shown in the "Translate" box.
Text LoadTranslationFile(const Text& path);

}  // namespace sorvane::win
