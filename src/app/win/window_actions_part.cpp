#include "app/win/window_actions_part.h"

#include <commdlg.h>
#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <wrl/client.h>

#include <string>

#include "app/command_ids.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "framework/win/shell_run.h"
#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {

bool SystemColourDialog(HWND owner, COLORREF& colour) {
  COLORREF custom[16] = {};
  custom[0] = colour;  // the one custom slot offers the current colour
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = owner;
  cc.rgbResult = colour;
  cc.lpCustColors = custom;
  cc.Flags = CC_FULLOPEN | CC_RGBINIT;
  if (!ChooseColorW(&cc)) return false;
  colour = cc.rgbResult;
  return true;
}

Text KnownSendToFolder() {
  PWSTR path = nullptr;
  Text folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_SendTo, KF_FLAG_CREATE, nullptr, &path)) && path) folder = T(path);
  CoTaskMemFree(path);
  return folder;
}

Text OwnProgramPath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return T(buffer.c_str(), n);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

WindowActionsPart::WindowActionsPart(WindowActionHooks hooks) : hooks_(std::move(hooks)) {
  if (!hooks_.chooseColour) hooks_.chooseColour = SystemColourDialog;
  if (!hooks_.sendToFolder) hooks_.sendToFolder = KnownSendToFolder;
}

void WindowActionsPart::OnInitDialog(PartHost&) {
  flyOutColour_ = static_cast<COLORREF>(
      Settings().ReadInt(kProductSection, keys::kFlyOutColor, keys::kFlyOutColorDefault));
}

// Each system version has only one of the two mixers: try both, ignore failures.
void WindowActionsPart::SystemVolume(HWND owner) {
  ShellOpen(owner, u"sndvol32.exe", u"-t -n");
  ShellOpen(owner, u"sndvol.exe", u"/d");
}

void WindowActionsPart::ChooseFlyOutColour(HWND owner) {
  COLORREF colour = flyOutColour_;
  if (!hooks_.chooseColour(owner, colour)) return;  // Cancel changes nothing
  if (colour == flyOutColour_) return;
  flyOutColour_ = colour;
  Settings().WriteInt(kProductSection, keys::kFlyOutColor, static_cast<int>(colour));
}

// The new copy is started first; this one closes (saving everything) only
// once that start succeeded, so a failed start never leaves the user with no
// player at all.
void WindowActionsPart::Restart(HWND window) {
  const Text self = OwnProgramPath();
  if (self.empty() || !StartProgram(self, Text(kRestartParameter))) return;
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(cmd::kExit, 0), 0);
}

Text WindowActionsPart::SendToShortcutPath() const {
  Text folder = hooks_.sendToFolder();
  if (folder.empty()) return {};
  if (folder.back() != u'\\') folder += u'\\';
  return folder + Text(kAppName) + u".lnk";
}

bool WindowActionsPart::AddToSendTo() {
  const Text link = SendToShortcutPath();
  const Text target = OwnProgramPath();
  if (link.empty() || target.empty()) return false;
  Microsoft::WRL::ComPtr<IShellLinkW> shell;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&shell)))) return false;
  shell->SetPath(W(target));
  const size_t slash = target.find_last_of(u'\\');
  if (slash != Text::npos) shell->SetWorkingDirectory(W(target.substr(0, slash)));
  shell->SetDescription(W(Text(kAppName)));
  Microsoft::WRL::ComPtr<IPersistFile> file;
  if (FAILED(shell.As(&file))) return false;
  return SUCCEEDED(file->Save(W(link), TRUE));
}

bool WindowActionsPart::OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_COMMAND || HIWORD(wParam) > 1) return false;
  HWND owner = window.Window();
  switch (LOWORD(wParam)) {
    case cmd::kSystemVolume:
      SystemVolume(owner);
      break;
    case cmd::kFlyOutColor:
      ChooseFlyOutColour(owner);
      break;
    case cmd::kRestart:
      Restart(owner);
      break;
    case cmd::kAddToSendTo:
      AddToSendTo();
      break;
    case cmd::kEditSendTo: {
      const Text folder = hooks_.sendToFolder();
      if (!folder.empty()) ShellOpen(owner, folder);
      break;
    }
    default:
      return false;
  }
  result = 0;
  return true;
}

}  // namespace sorvane::win
