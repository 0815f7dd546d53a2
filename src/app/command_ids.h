// The command ids of the main window: one id space shared by the program menu,
// the list's context menu, the tray menu, the button bars, the player panel and
// the keyboard shortcuts.
#pragma once

namespace sorvane::cmd {

// Modes and bars.
inline constexpr int kFlyOut = 1243;        // button "Be FlyOut"
inline constexpr int kCompact = 1244;       // button and menu item "Compact Mode"
inline constexpr int kAlwaysOnTop = 32905;  // button of the bottom bar

// Player.
inline constexpr int kNext = 1259;  // panel button; also the end-of-medium notice
inline constexpr int kPrevious = 1260;
inline constexpr int kPlay = 1301;
inline constexpr int kPause = 1302;
inline constexpr int kStop = 1303;
inline constexpr int kMenuPrevious = 1304;
inline constexpr int kMenuNext = 1305;
inline constexpr int kMute = 1306;
inline constexpr int kRandom = 1307;
inline constexpr int kRepeatOne = 1308;
inline constexpr int kSequential = 1310;
inline constexpr int kRepeatAll = 1311;
inline constexpr int kRepeatOff = 1312;

// The list's context menu.
inline constexpr int kMoveTop = 1001;
inline constexpr int kMoveUp = 1002;
inline constexpr int kMoveDown = 1003;
inline constexpr int kMoveBottom = 1004;
inline constexpr int kRemove = 1005;
inline constexpr int kShowInExplorer = 1006;
inline constexpr int kListExport = 1007;
inline constexpr int kListImport = 1008;
inline constexpr int kSelectAll = 1009;
inline constexpr int kInvertSelection = 1010;

// Program menu and tray.
inline constexpr int kAddToSendTo = 32203;
inline constexpr int kEditSendTo = 32205;
inline constexpr int kExit = 32916;
inline constexpr int kShowWindow = 32921;  // the tray item with name and version
inline constexpr int kFlyOutColor = 33364;
inline constexpr int kPlayLast = 33368;
inline constexpr int kExport = 33369;
inline constexpr int kImport = 33370;
inline constexpr int kImportFolder = 33371;
inline constexpr int kAddFiles = 33372;
inline constexpr int kSystemVolume = 33374;
inline constexpr int kRestart = 45107;

// Information and help items of the program menu's first popup.
inline constexpr int kInfo = 32915;
inline constexpr int kHomepage = 32821;
inline constexpr int kHistory = 32913;
inline constexpr int kDonate = 32914;
inline constexpr int kFaq = 33206;  // also the help button "# ?" of the menu row
inline constexpr int kHelp = 57670;

}  // namespace sorvane::cmd
