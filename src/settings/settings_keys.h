// Names and first values of the settings the program keeps in its INI file.
#pragma once

#include "framework/text.h"

namespace sorvane::keys {

// Section "Program".
inline constexpr TextView kTestIni = u"TestIni";
inline constexpr TextView kLanguage = u"lng";           // default: the current language id
inline constexpr TextView kTopmost = u"Toop";           // "1" or "0"; empty means off
inline constexpr TextView kTopmostDefault = u"";
inline constexpr TextView kWindowRect = u"m_Window_Rect";
inline constexpr TextView kWindowRectDefault = u"";
inline constexpr TextView kPlayList = u"m_PlayList";    // list names joined by TAB
inline constexpr TextView kPlayListDefault = u"Default PlayList";
inline constexpr TextView kPosition = u"m_Position";    // seconds, "%f"
inline constexpr TextView kPositionDefault = u"0.0";

// Section "Sorvane".
inline constexpr TextView kTheme = u"by_theme";
inline constexpr int kThemeDefault = 1;
inline constexpr TextView kLastSel = u"m_LastSel";
inline constexpr int kLastSelDefault = 0;
inline constexpr TextView kRandomPlay = u"random_play";
inline constexpr int kRandomPlayDefault = 9;
inline constexpr TextView kRepeat = u"m_Repeat";        // 0 off, 1 all, 2 one
inline constexpr int kRepeatDefault = 1;
inline constexpr TextView kPlayLast = u"m_PlayLast";
inline constexpr int kPlayLastDefault = 1;
inline constexpr TextView kVolume = u"Volume";
inline constexpr int kVolumeDefault = 50;
inline constexpr TextView kSel = u"m_Sel";
inline constexpr int kSelDefault = 0;
inline constexpr TextView kFlyOutColor = u"m_FlyOut_color";  // COLORREF 0x00BBGGRR
inline constexpr int kFlyOutColorDefault = 33023;            // 0x80FF
inline constexpr TextView kFlyOut = u"m_bFlyOut";
inline constexpr int kFlyOutDefault = 0;

}  // namespace sorvane::keys
