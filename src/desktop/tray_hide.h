// Hiding the main window to the notification area: how long to wait for the
// system's caption animation, and where that animation should end. Pure rules
// over values the Win32 side reads from the registry and the task bar.
#pragma once

#include <cstdint>
#include <optional>

#include "framework/text.h"

namespace sorvane {

// The DWORD value, first under the current user, then under the default user
// (HKEY_USERS) of the same path.
inline constexpr TextView kAnimationDurationKeyUser = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
inline constexpr TextView kAnimationDurationKeyDefaultUser =
    u".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
inline constexpr TextView kAnimationDurationValue = u"WindowResizeAnimationDuration";
inline constexpr uint32_t kDefaultAnimationMs = 200;
// The wait runs on the user-interface thread: a damaged registry value must not
// freeze the window for minutes.
inline constexpr uint32_t kMaxAnimationMs = 1000;

// The wait before hiding, also when no animation is drawn. A missing value or
// 0 counts as absent; the user's value comes first.
uint32_t HideAnimationMs(std::optional<uint32_t> userValue, std::optional<uint32_t> defaultUserValue);

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool Empty() const { return right <= left || bottom <= top; }
  friend constexpr bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// The same numbers as the app bar's ABE_LEFT .. ABE_BOTTOM.
enum class TaskbarEdge { kLeft = 0, kTop = 1, kRight = 2, kBottom = 3 };
std::optional<TaskbarEdge> TaskbarEdgeFromAppBar(uint32_t edge);

struct TaskbarPosition {
  TaskbarEdge edge = TaskbarEdge::kBottom;
  ScreenRect rect;
};

// What the Win32 side found; an absent or empty rectangle is passed over.
struct TrayGeometry {
  std::optional<ScreenRect> notifyArea;    // "TrayNotifyWnd" inside "Shell_TrayWnd"
  std::optional<TaskbarPosition> taskbar;  // the app bar's answer
  std::optional<ScreenRect> trayWindow;    // "Shell_TrayWnd"
  ScreenRect workArea;
};

// Where the caption animation ends: the notification area, else the end of the
// task bar where it usually lies, else the corner of the task bar window, else
// the bottom-right corner of the work area.
ScreenRect TrayTargetRect(const TrayGeometry& geometry);

}  // namespace sorvane
