// The program's only top-level window: a modeless dialog from template 345.
// It places and sizes itself, lays out its controls, answers the single-instance
// messages and closes in order. Everything else (panel, list view, list
// selector, tray, fly-out, probing, commands) plugs in as a MainWindowPart.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "app/main_window_geometry.h"
#include "framework/win/dialog_window.h"
#include "framework/win/gdi.h"
#include "framework/win/main_frame_loop.h"
#include "framework/win/main_window_part.h"
#include "resource_ids.h"

namespace sorvane::win {

inline constexpr UINT kCommandClose = 32916;

class MainWindow : public DialogWindow<MainWindow>, public MessageFilter, public PartHost {
 public:
  MainWindow();
  ~MainWindow() override;

  // Parts must be added before Create; they live as long as the window.
  void AddPart(std::unique_ptr<MainWindowPart> part);

  // Creates the dialog (hidden); null on failure.
  HWND Create(HINSTANCE instance);

  HWND Window() const override { return DialogWindow::Window(); }
  HWND Item(int id) const { return DialogWindow::Item(id); }

  // PartHost
  void AddLayoutRule(int id, Follow horizontal, Follow vertical) override;
  void ApplyLayout();

  // Accelerators tried before dialog navigation (the command table's shortcuts).
  void SetAccelerators(HACCEL table) { accelerators_ = table; }
  HACCEL Accelerators() const { return accelerators_; }
  // Compact mode switches off the size limits and the layout; its owner sets it.
  void SetCompact(bool on) { compact_ = on; }
  bool Compact() const { return compact_; }
  // Fly-out mode switches off the caption hit test, the size limits and the layout.
  void SetFlyOut(bool on) { flyOut_ = on; }
  bool FlyOut() const { return flyOut_; }

  void SetStatusText(const Text& text) override;
  void UpdateTitle() override;

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
  UniqueIcon largeIcon_;
  UniqueIcon smallIcon_;
  bool compact_ = false;
  bool flyOut_ = false;
  bool started_ = false;
};

}  // namespace sorvane::win
