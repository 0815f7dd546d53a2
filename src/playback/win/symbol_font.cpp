#include "playback/win/symbol_font.h"

#include "framework/win/gdi.h"

namespace sorvane::win {
namespace {

int CALLBACK FoundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FamilyInstalled(const wchar_t* face) {
  WindowDc screen(nullptr);
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(screen.get(), &query, FoundFamily, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

UniqueFont& TheFont() {
  static UniqueFont font;  // deleted at process exit
  return font;
}

}  // namespace

const wchar_t* SymbolFontFace() {
  static const wchar_t* face = [] {
    if (FamilyInstalled(L"Segoe UI Symbol")) return L"Segoe UI Symbol";
    if (FamilyInstalled(L"Arial Unicode MS")) return L"Arial Unicode MS";
    return L"Lucida Sans Unicode";
  }();
  return face;
}

HFONT SymbolFont(HWND reference) {
  UniqueFont& font = TheFont();
  if (font) return font.get();
  LOGFONTW lf{};
  HFONT base = reinterpret_cast<HFONT>(SendMessageW(reference, WM_GETFONT, 0, 0));
  if (!base) base = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  GetObjectW(base, sizeof(lf), &lf);
  lf.lfHeight = static_cast<LONG>(lf.lfHeight * 1.4);
  lf.lfWidth = 0;
  lf.lfWeight = 900;
  lf.lfItalic = FALSE;
  lstrcpynW(lf.lfFaceName, SymbolFontFace(), LF_FACESIZE);
  font.reset(CreateFontIndirectW(&lf));
  return font.get();
}

}  // namespace sorvane::win
