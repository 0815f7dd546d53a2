#include "desktop/theme_classes.h"

#include <array>
#include <utility>

namespace sorvane {

namespace {

constexpr std::array<std::pair<TextView, ClassTreatment>, 11> kClassTable{{
    {u"#32770", ClassTreatment::kDialogColours},
    {u"scrollbar", ClassTreatment::kScrollBarPainter},
    {u"msctls_trackbar32", ClassTreatment::kTrackbarDarkTheme},
    {u"combobox", ClassTreatment::kComboBoxPainter},
    {u"button", ClassTreatment::kButtonByType},
    {u"systabcontrol32", ClassTreatment::kTabControl},
    {u"toolbarwindow32", ClassTreatment::kToolbarCustomDraw},
    // Listed so that nobody adds a treatment for them by accident: menus are
    // coloured through their menu info, statics through the dialog, and the
    // list view gets its own dark look from its owner.
    {u"#32768", ClassTreatment::kNone},
    {u"static", ClassTreatment::kNone},
    {u"syslistview32", ClassTreatment::kNone},
    {u"", ClassTreatment::kNone},
}};

}  // namespace

ClassTreatment TreatmentForClass(TextView className) {
  const Text lower = ToLower(className.substr(0, kHookClassNameChars));
  for (const auto& [name, treatment] : kClassTable) {
    if (lower == name) return treatment;
  }
  return ClassTreatment::kNone;
}

ButtonTreatment ButtonTreatmentForStyle(uint32_t style) {
  switch (style & kButtonTypeMask) {
    case kButtonTypeGroupBox:
      return ButtonTreatment::kGroupBoxPainted;
    case kButtonTypeAutoCheckBox:
      return ButtonTreatment::kVisualStylesOff;
    default:
      return ButtonTreatment::kExplorerTheme;
  }
}

bool DialogAnswersColourMessage(uint32_t message) {
  switch (message) {
    case kWmCtlColorDlg:
    case kWmCtlColorStatic:
    case kWmCtlColorBtn:
    case kWmCtlColorEdit:
    case kWmCtlColorListBox:
    case kWmCtlColorScrollBar:
      return true;
    default:
      return false;
  }
}

}  // namespace sorvane
