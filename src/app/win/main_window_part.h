// A piece of the main window that another subsystem owns (the player panel,
// the list view and list selector, the tray icon, fly-out mode, probing, the
// command table). The main window calls its parts in the order they were added,
// at fixed points of its life, so each subsystem plugs in without editing the
// window's own code.
#pragma once

#include <windows.h>

#include "framework/text.h"

namespace sorvane::win {

class MainWindow;

class MainWindowPart {
 public:
  virtual ~MainWindowPart() = default;

  // During WM_INITDIALOG, before the layout rules are recorded and the window is
  // placed: create or replace child controls here (the panel replaces 1249 and
  // keeps its id) and add layout rules with MainWindow::AddLayoutRule.
  virtual void OnInitDialog(MainWindow&) {}
  // After the stored window rectangle was applied: read this part's settings.
  virtual void LoadSettings(MainWindow&) {}
  // At the end of WM_INITDIALOG, with the window placed and loaded: add the
  // media of the start's command line, enter fly-out mode, and so on.
  virtual void OnStarted(MainWindow&) {}
  // Every message before the main window's own routing. Answer true to take
  // it; result is then the message's answer.
  virtual bool OnMessage(MainWindow&, UINT, WPARAM, LPARAM, LRESULT& /*result*/) { return false; }
  // A second start handed over its full command line (already stored as the
  // process command line text).
  virtual void OnForwardedCommandLine(MainWindow&, const Text&) {}
  // From SaveSettings, after the window rectangle was saved: the shown list's
  // index, the list, the volume, the selected entry, the position.
  virtual void SaveSettings(MainWindow&) {}
  // From Close, after SaveSettings and before the window is destroyed: stop
  // fly-out mode, remove the tray icon.
  virtual void OnClose(MainWindow&) {}
};

}  // namespace sorvane::win
