// Hosting of the media player control in a dialog: a window class named after
// the control's CLSID, so that a dialog template control of that class creates
// the control, activates it in place in a child window of its own, hands out
// its IUnknown through "WM_ATLGETCONTROL" and connects an event sink.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <functional>

namespace sorvane::win {

inline constexpr wchar_t kMediaPlayerControlClass[] = L"{6BF52A52-394A-11D3-B153-00C04F79FAA6}";

// Registers the host class once for this module; true when it is available.
// The thread must have initialised OLE before a host window is created.
bool RegisterControlHostClass();

// The registered message that asks a host for its control's IUnknown; the
// answer carries an added reference.
UINT AtlGetControlMessage();

// The control of a host window through "WM_ATLGETCONTROL"; null when the window
// is missing or hosts nothing.
Microsoft::WRL::ComPtr<IUnknown> GetHostedControl(HWND host);

// Connects handler to the hosted control's default source interface. Every
// event arrives as its DISPID and arguments on the UI thread. Replaces an
// earlier connection; disconnected when the host window is destroyed.
using ControlEventHandler = std::function<void(DISPID, const DISPPARAMS&)>;
bool ConnectControlEvents(HWND host, ControlEventHandler handler);

// The sink ConnectControlEvents advises, answering as source; its Invoke
// hands each event to handler.
Microsoft::WRL::ComPtr<IDispatch> MakeControlEventSink(const IID& source, ControlEventHandler handler);

}  // namespace sorvane::win
