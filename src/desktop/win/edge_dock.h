// Fly-out mode for a top-level window: borderless, always on top, docked at an
// edge of the monitor that holds it, with a coloured tab carrying a caption on
// the side away from the edge. With auto-hide the window slides off the monitor
// until only the tab shows and slides back while the mouse rests on it; the
// user drags it along the edges and from one edge to another.
//
// The arithmetic and the states live in dock::EdgeDockState and the geometry
// functions; this class applies them to the window: styles, shape, children,
// painting, the tab timer and the mouse capture.
#pragma once

#include <windows.h>

#include <vector>

#include "desktop/edge_dock_state.h"
#include "framework/text.h"
#include "framework/win/gdi.h"

namespace sorvane::win {

class EdgeDock {
 public:
  static constexpr UINT_PTR kTabTimerId = dock::kTabTimerId;
  static constexpr size_t kMaxChildren = 100;
  static constexpr COLORREF kDefaultColour = RGB(27, 59, 121);

  EdgeDock();
  ~EdgeDock();
  EdgeDock(const EdgeDock&) = delete;
  EdgeDock& operator=(const EdgeDock&) = delete;

  void Attach(HWND window) { window_ = window; }
  // Stops first when still running.
  void Detach();
  HWND Window() const { return window_; }

  void Start();
  void Stop();
  bool Running() const { return state_.Running(); }

  // Slides the window in and checks the cursor again only after `ms`.
  void SlideOutFor(int ms);
  void Collapse();
  void Expand();
  bool IsCollapsed() const { return state_.Collapsed(); }
  bool Dragging() const { return state_.Dragging(); }
  dock::Edge CurrentEdge() const { return state_.CurrentEdge(); }
  const dock::Metrics& CurrentMetrics() const { return metrics_; }
  int TabLength() const { return tabLength_; }
  // The window's rectangle before the start: where Stop puts it back.
  const RECT& SavedWindowRect() const { return savedWindowRect_; }

  // The caption is measured and drawn again, then the window repainted.
  void RebuildCaption();
  void SetColour(COLORREF colour) { colour_ = colour; }
  COLORREF Colour() const { return colour_; }
  void SetCaption(Text caption) { caption_ = std::move(caption); }
  const Text& Caption() const { return caption_; }
  void SetAutoHide(bool on) { autoHide_ = on; }
  void SetTopmost(bool on) { topmost_ = on; }

  // Whether a point in window coordinates lies on the docked window's shape.
  bool HitShapeContains(POINT windowPoint) const;

  // The attached window's messages go here first while it runs: the tab timer,
  // the left button and mouse moves for dragging, and the background erase.
  // True when the message was taken; result is its answer.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  struct Child {
    HWND window;
    RECT rect;  // client coordinates before the start
  };

  void Apply(const dock::DockActions& actions);
  void Reshape();
  void MeasureCaption();
  void BuildCaptionBitmap();
  void PlaceChildren();
  void ApplyTopmost(bool on);
  void Paint(HDC dc);
  void PaintTurnedCaption(HDC dc);
  dock::Rect MonitorRect() const;
  dock::Metrics MetricsForWindow() const;
  void OnTick();

  HWND window_ = nullptr;
  dock::EdgeDockState state_;
  dock::Metrics metrics_;
  int tabLength_ = 0;
  COLORREF colour_ = kDefaultColour;
  Text caption_ = u"      The Fly Out Dlg  ";
  bool autoHide_ = true;
  bool topmost_ = true;

  LONG_PTR savedStyle_ = 0, savedExStyle_ = 0;
  RECT savedWindowRect_{}, savedClientRect_{};
  std::vector<Child> children_;
  HRGN hitShape_ = nullptr;  // the window owns the other copy
  dock::Point tabOrigin_;
  HBITMAP captionBitmap_ = nullptr;
  dock::Size captionSize_;
  // On a side the caption is written with a font turned by 90 degrees (it then
  // reads from bottom to top): turning the bitmap itself is not done alike by
  // every graphics driver. The text is the one the bitmap shows, ellipsis included.
  UniqueFont turnedFont_;
  Text shownCaption_;
  COLORREF textColour_ = 0;
};

}  // namespace sorvane::win
