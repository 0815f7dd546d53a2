// What the window-creation hook does with a new window of the user-interface
// thread, decided from its class name and style alone so that the table can be
// checked without windows.
#pragma once

#include <cstdint>

#include "framework/text.h"

namespace sorvane {

enum class ClassTreatment {
  kNone,               // menus, statics, list views and every unknown class
  kDialogColours,      // one palette brush; answers the colour messages
  kScrollBarPainter,   // replaced by our own dark painter
  kTrackbarDarkTheme,  // SetWindowTheme "DarkMode_Explorer", no sub-list
  kComboBoxPainter,    // our own procedure paints the box
  kButtonByType,       // see ButtonTreatmentForStyle
  kTabControl,         // visual styles off; tabs painted in the palette
  kToolbarCustomDraw,  // button texts in the palette text colour
};

// The class name is compared without regard to case; only the first 256
// characters count, as many as the hook reads.
ClassTreatment TreatmentForClass(TextView className);
inline constexpr size_t kHookClassNameChars = 256;

enum class ButtonTreatment {
  kGroupBoxPainted,          // visual styles off; frame and caption in the palette text colour
  kVisualStylesOff,          // automatic check box
  kExplorerTheme,            // SetWindowTheme "Explorer"
};
inline constexpr uint32_t kButtonTypeMask = 0xF;
inline constexpr uint32_t kButtonTypeAutoCheckBox = 3;
inline constexpr uint32_t kButtonTypeGroupBox = 7;
ButtonTreatment ButtonTreatmentForStyle(uint32_t style);

// The theme names handed to SetWindowTheme.
inline constexpr TextView kTrackbarThemeName = u"DarkMode_Explorer";
inline constexpr TextView kButtonThemeName = u"Explorer";

// Whether a dialog answers this colour message with the palette: for itself
// and for static, button, edit, list box and scroll bar children. Message
// boxes' own colour message is left to the system.
bool DialogAnswersColourMessage(uint32_t message);
inline constexpr uint32_t kWmCtlColorMsgBox = 0x0132;
inline constexpr uint32_t kWmCtlColorEdit = 0x0133;
inline constexpr uint32_t kWmCtlColorListBox = 0x0134;
inline constexpr uint32_t kWmCtlColorBtn = 0x0135;
inline constexpr uint32_t kWmCtlColorDlg = 0x0136;
inline constexpr uint32_t kWmCtlColorScrollBar = 0x0137;
inline constexpr uint32_t kWmCtlColorStatic = 0x0138;

}  // namespace sorvane
