#include "desktop/tray_events.h"

#include <array>

namespace sorvane {

TrayIconAction TrayIconActionFor(uint32_t mouseMessage, TrayWindowState state) {
  if (mouseMessage == kWmRButtonDown) return TrayIconAction::kTrayMenu;
  if (mouseMessage != kWmLButtonDown) return TrayIconAction::kNone;

  if (state.flyOut) {
    // Sliding a hidden window in or out would leave it invisible, and the
    // click would seem to do nothing.
    if (!state.visible) return TrayIconAction::kShowAndSlideOut;
    return state.collapsed ? TrayIconAction::kSlideOut : TrayIconAction::kCollapse;
  }
  return state.visible ? TrayIconAction::kHideWindow : TrayIconAction::kShowWindow;
}

namespace {

constexpr std::array<TrayMenuEntry, 5> kTrayMenu{{
    {TrayMenuEntryKind::kProgramSubmenu, 0, 67, u"Program", u"\t>>"},
    {TrayMenuEntryKind::kSeparator, 0, 0, u"", u""},
    {TrayMenuEntryKind::kCommand, kCmdExit, 7, u"E&xit", u""},
    {TrayMenuEntryKind::kSeparator, 0, 0, u"", u""},
    {TrayMenuEntryKind::kAppInfo, kCmdBringToFront, 19, u"Sorvane", u""},
}};

}  // namespace

std::span<const TrayMenuEntry> TrayMenuEntries() { return kTrayMenu; }

}  // namespace sorvane
