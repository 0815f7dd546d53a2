#include "medialist/win/shortcut.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>
#include <wrl/client.h>

#include "framework/win/wintext.h"
#include "medialist/adding.h"

namespace sorvane::win {

using Microsoft::WRL::ComPtr;

Text ResolveShortcut(const Text& path) {
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)))) return path;
  ComPtr<IPersistFile> file;
  if (FAILED(link.As(&file))) return path;
  if (FAILED(file->Load(W(path), STGM_READ))) return path;
  wchar_t target[MAX_PATH] = {};
  WIN32_FIND_DATAW data{};
  if (FAILED(link->GetPath(target, MAX_PATH, &data, SLGP_UNCPRIORITY))) return path;
  // A shortcut to something without a file-system path (a printer, a
  // control panel item) answers with an empty text.
  if (target[0] == L'\0') return path;
  return T(target);
}

Text ResolveDroppedPath(const Text& path) { return IsShortcutPath(path) ? ResolveShortcut(path) : path; }

}  // namespace sorvane::win
