// The program's only top-level window: a modeless dialog from template 345.
// It places and sizes itself, lays out its controls, answers the single-instance
// messages and closes in order. Everything else (panel, list view, list
// selector, tray, fly-out, probing, commands) plugs in as a MainWindowPart.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "app/layout.h"
#include "app/win/dialog_window.h"
#include "app/win/main_frame_loop.h"
#include "app/win/main_window_part.h"

namespace sorvane::win {

inline constexpr int kMainWindowTemplate = 345;
inline constexpr int kListViewId = 1033;
inline constexpr int kListSelectorId = 1000;
inline constexpr int kPlayerPanelId = 1249;
inline constexpr int kStatusTextId = 1320;
inline constexpr int kTopLineId = 1134;
inline constexpr int kBottomLineId = 1135;
inline constexpr UINT kCommandClose = 32916;

class MainWindow : public DialogWindow<MainWindow>, public MessageFilter {
 public:
  MainWindow();
  ~MainWindow() override;

  // Parts must be added before Create; they live as long as the window.
  void AddPart(std::unique_ptr<MainWindowPart> part);

  // Creates the dialog (hidden); null on failure.
  HWND Create(HINSTANCE instance);

  // Controls that follow resizes. Rules added after the window started are
  // recorded against the current client size.
  void AddLayoutRule(int id, Follow horizontal, Follow vertical);
  void ApplyLayout();

  // Accelerators tried before dialog navigation (Part of the command table).
  void SetAccelerators(HACCEL table) { accelerators_ = table; }
  // Compact mode switches off the size limits and the layout; its owner sets it.
  void SetCompact(bool on) { compact_ = on; }
  bool Compact() const { return compact_; }
  // Fly-out mode switches off the caption hit test.
  void SetFlyOut(bool on) { flyOut_ = on; }
  bool FlyOut() const { return flyOut_; }

  void SetStatusText(const Text& text);
  void UpdateTitle();

  // Writes the window rectangle, then every part's settings.
  void SaveSettings();
  // Saves, lets the parts finish, destroys the window and ends the loop (45054).
  void Close();
  void BringToFront();

  // MessageFilter: accelerators, then dialog navigation.
  bool PreTranslateMessage(MSG& message) override;

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  INT_PTR OnInitDialog();
  void RecordLayout();
  void PlaceOnNearestMonitor();
  void LoadWindowRect();
  INT_PTR OnCommand(UINT id);
  SizeLimits CurrentSizeLimits() const;
  INT_PTR OnGetMinMaxInfo(MINMAXINFO* info);
  INT_PTR OnHitTest(LPARAM lParam);
  INT_PTR OnCopyData(const COPYDATASTRUCT* data);

  std::vector<std::unique_ptr<MainWindowPart>> parts_;
  Layout layout_;
  HACCEL accelerators_ = nullptr;
  HICON largeIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  bool compact_ = false;
  bool flyOut_ = false;
  bool started_ = false;
};

}  // namespace sorvane::win
