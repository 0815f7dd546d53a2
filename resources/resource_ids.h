/* Ids of the program's resources and of the controls in its dialog templates,
   shared by the .rc files and the C++ code (so plain macros: the resource
   compiler reads this file too). Command ids that are not controls live with
   the code that owns the command. */
#pragma once

#define IDI_PROGRAM 100

#define IDD_MAIN_WINDOW 345
#define IDD_PLAYER_PANEL 346
#define IDD_BUSY 349

/* Main window (345). */
#define IDC_LIST_SELECTOR 1000
#define IDC_LIST_VIEW 1033
#define IDC_TOP_LINE 1134
#define IDC_BOTTOM_LINE 1135
#define IDC_FLYOUT_BUTTON 1243
#define IDC_COMPACT_BUTTON 1244
#define IDC_PLAYER_PANEL 1249
#define IDC_STATUS_TEXT 1320

/* Player panel (346). The transport buttons' ids are also their commands. */
#define IDC_VIDEO 347
#define IDC_PLAY 1253
#define IDC_PAUSE 1254
#define IDC_STOP 1255
#define IDC_MUTE 1256
#define IDC_VOLUME_SLIDER 1257
#define IDC_POSITION_SLIDER 1258
#define IDC_NEXT 1259
#define IDC_PREVIOUS 1260
#define IDC_TIME_TEXT 1261
#define IDC_VOLUME_TEXT 1262
#define IDC_SHUFFLE_MENU 1263
#define IDC_PLAYER_MENU 1264

/* Busy dialog (349). */
#define IDC_BUSY_BAR 1002
#define IDC_BUSY_TEXT 1004
#define IDC_BUSY_EMPTY_TEXT 2224
