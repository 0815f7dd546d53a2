// A piece of the main window that another subsystem owns (the player panel,
// the list view and list selector, the tray icon, fly-out mode, probing, the
// command table). The main window calls its parts in the order they were added,
// at fixed points of its life, so each subsystem plugs in without editing the
// window's own code. A part sees the window only through PartHost: the few
// things a part needs of it, nothing of the window's own workings.
#pragma once

#include <windows.h>

#include "framework/layout.h"
#include "framework/text.h"

namespace sorvane::win {

class PartHost {
 public:
  virtual HWND Window() const = 0;
  HWND Item(int id) const { return GetDlgItem(Window(), id); }

  // Controls that follow resizes. Rules added after the window started are
  // recorded against the current client size.
  virtual void AddLayoutRule(int id, Follow horizontal, Follow vertical) = 0;
  // The status text under the list (control 1320).
  virtual void SetStatusText(const Text& text) = 0;
  // The caption: program name, version and the mode words.
  virtual void UpdateTitle() = 0;
  // Posts a command to the window as a menu item would.
  void PostCommand(UINT id) const { PostMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

 protected:
  ~PartHost() = default;
};

class MainWindowPart {
 public:
  virtual ~MainWindowPart() = default;

  // During WM_INITDIALOG, before the layout rules are recorded and the window is
  // placed: create or replace child controls here (the panel replaces 1249 and
  // keeps its id) and add layout rules with PartHost::AddLayoutRule.
  virtual void OnInitDialog(PartHost&) {}
  // After the stored window rectangle was applied: read this part's settings.
  virtual void LoadSettings(PartHost&) {}
  // At the end of WM_INITDIALOG, with the window placed and loaded: add the
  // media of the start's command line, enter fly-out mode, and so on.
  virtual void OnStarted(PartHost&) {}
  // Every message before the main window's own routing. Answer true to take
  // it; result is then the message's answer.
  virtual bool OnMessage(PartHost&, UINT, WPARAM, LPARAM, LRESULT& /*result*/) { return false; }
  // A second start handed over its full command line (already stored as the
  // process command line text). The second start waits until every part has
  // returned: keep the text and return at once, never ask from here.
  virtual void OnForwardedCommandLine(PartHost&, const Text&) {}
  // From SaveSettings, after the window rectangle was saved: the shown list's
  // index, the list, the volume, the selected entry, the position.
  virtual void SaveSettings(PartHost&) {}
  // From Close, after SaveSettings and before the window is destroyed: stop
  // fly-out mode, remove the tray icon.
  virtual void OnClose(PartHost&) {}
};

}  // namespace sorvane::win
