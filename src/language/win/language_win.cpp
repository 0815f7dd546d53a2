#include "language/win/language_win.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

#include "language/language_archive.h"
#include "framework/win/kernel_handle.h"
#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {


// The whole file; false when it cannot be opened or read completely.
bool ReadWholeFile(const Text& path, std::string& bytes) {
  KernelHandle file(CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || size.QuadPart > (1LL << 30)) return false;
  bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, chunk, &got, nullptr) || got == 0) return false;
    done += got;
  }
  return true;
}

std::function<void(const Text&)>& ShellOpener() {
  static std::function<void(const Text&)> opener;
  return opener;
}

Text ModulePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return T(buffer.c_str(), n);
    buffer.resize(buffer.size() * 2);  // a long path: never cut it
  }
}

}  // namespace

bool LoadLanguageArchiveFromFile(const Text& path, LanguageStore& store) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  auto archive = FindArchive(bytes);
  return archive && store.LoadArchive(*archive);
}

bool LoadLanguageArchive() {
  if (LoadLanguageArchiveFromFile(ModulePath(), Languages())) return true;
  MessageBoxA(nullptr, "Error! Loading language file string archive", "Error!", MB_OK);
  PostQuitMessage(0);
  return false;
}

UINT RetranslateMessage() {
  static const UINT message = RegisterWindowMessageW(L"Sorvane.Retranslate");
  return message;
}

Text AnsiToText(std::string_view bytes) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), w.data(), n);
  return T(w.c_str(), w.size());
}

bool ReadTextFile(const Text& path, Text& text) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  text += DecodeTextFileBytes(bytes, AnsiToText);
  return true;
}

bool WriteUtf16File(const Text& path, TextView text) {
  KernelHandle file(CreateFileW(W(Text(path)), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
  if (!file.Valid()) return false;
  std::string bytes = "\xFF\xFE" + TextToUtf16Le(text);
  DWORD written = 0;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

void SetShellOpenerForTests(std::function<void(const Text&)> opener) { ShellOpener() = std::move(opener); }

void OpenWithShell(const Text& target) {
  if (ShellOpener()) {
    ShellOpener()(target);
    return;
  }
  ShellExecuteW(nullptr, L"open", W(target), nullptr, nullptr, SW_SHOWNORMAL);
}

Text TempFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
  if (n == 0 || n > MAX_PATH) return {};
  Text folder = T(buffer, n);
  if (!folder.empty() && folder.back() != u'\\') folder += u'\\';
  return folder;
}

HMENU BuildLanguageSubmenu() {
  const bool showIndex = GetFileAttributesA("BaseMain.h") != INVALID_FILE_ATTRIBUTES;
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  for (const LanguageMenuItem& item : BuildLanguageMenu(Languages(), showIndex)) {
    if (item.separator) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING;
    if (item.checked) flags |= MF_CHECKED;
    if (item.columnBreak) flags |= MF_MENUBARBREAK;
    AppendMenuW(menu, flags, static_cast<UINT_PTR>(item.command), W(item.text));
    if (item.checked) SetMenuDefaultItem(menu, static_cast<UINT>(item.command), FALSE);
  }
  return menu;
}

void AppendLanguageMenu(HMENU programMenu) {
  HMENU sub = BuildLanguageSubmenu();
  if (!sub) return;
  Text title(Languages().Str(77));
  // The program menu owns the submenu from here on and destroys it with itself.
  if (!AppendMenuW(programMenu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), W(title))) DestroyMenu(sub);
}

Text ExportTranslationTemplate() {
  const LanguageStore& store = Languages();
  Text path = TempFolder() + TranslationTemplateFileName(store);
  DeleteFileW(W(path));
  WriteUtf16File(path, TranslationTemplateText(store));
  OpenWithShell(path);  // also when the write failed: the shell then reports it
  return path;
}

Text LoadTranslationFile(const Text& path) {
  Text text;
  ReadTextFile(path, text);
  return Languages().LoadTranslation(std::move(text));
}

bool HandleLanguageCommand(HWND mainWindow, int commandId, const LanguageCommandHooks& hooks) {
  if (commandId < kLanguageCommandFirst || commandId > kLanguageCommandLast) return false;
  const int offset = commandId - kLanguageCommandFirst;
  if (offset < 100) {
    Languages().SetCurrent(offset);
    if (hooks.retranslate) hooks.retranslate();
    if (hooks.saveLanguage) hooks.saveLanguage(offset);
  } else if (commandId == kTranslateCommand) {
    ExportTranslationTemplate();
  } else if (commandId == kLoadTranslationCommand) {
    wchar_t file[MAX_PATH + 1] = {};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&ofn)) return true;
    Text report = LoadTranslationFile(T(file));
    MessageBoxW(GetActiveWindow(), W(report), L"Translate", MB_OK);
    if (hooks.retranslate) hooks.retranslate();
  }
  (void)mainWindow;
  return true;
}

}  // namespace sorvane::win
