#include "playback/win/control_host.h"

#include <ocidl.h>
#include <olectl.h>

#include <array>
#include <memory>

#include "framework/win/boundary.h"
#include "framework/win/com_object.h"
#include "framework/win/owned_window.h"

using Microsoft::WRL::ComPtr;

namespace sorvane::win {
namespace {

// The site the control sees: a windowed in-place site whose window is the host
// window, and a frame that declines everything a frame may be asked for. It
// answers IOleInPlaceSiteEx too: Wine's control refuses to activate in place
// unless the site offers that or the windowless site.
class Site final : public IOleClientSite, public IOleInPlaceSiteEx, public IOleInPlaceFrame, RefCounted<Site> {
 public:
  explicit Site(HWND window) : window_(window) {}
  void Detach() { window_ = nullptr; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    static constexpr std::array<InterfaceEntry, 6> kTable{{
        {&IID_IOleClientSite, [](void* s) -> IUnknown* { return static_cast<IOleClientSite*>(static_cast<Site*>(s)); }},
        {&IID_IOleWindow, [](void* s) -> IUnknown* { return static_cast<IOleInPlaceSite*>(static_cast<Site*>(s)); }},
        {&IID_IOleInPlaceSite, [](void* s) -> IUnknown* { return static_cast<IOleInPlaceSite*>(static_cast<Site*>(s)); }},
        {&IID_IOleInPlaceSiteEx, [](void* s) -> IUnknown* { return static_cast<IOleInPlaceSiteEx*>(static_cast<Site*>(s)); }},
        {&IID_IOleInPlaceUIWindow, [](void* s) -> IUnknown* { return static_cast<IOleInPlaceFrame*>(static_cast<Site*>(s)); }},
        {&IID_IOleInPlaceFrame, [](void* s) -> IUnknown* { return static_cast<IOleInPlaceFrame*>(static_cast<Site*>(s)); }},
    }};
    return QueryFromTable(this, kTable, riid, out);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
  STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** out) override {
    if (out) *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (shared by the site and the frame)
  STDMETHODIMP GetWindow(HWND* out) override {
    if (!out) return E_POINTER;
    *out = window_;
    return window_ ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return window_ ? S_OK : S_FALSE; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO info) override {
    if (!frame || !doc || !pos || !clip) return E_POINTER;
    *frame = this;
    AddRef();
    *doc = nullptr;
    RECT client{};
    if (window_) GetClientRect(window_, &client);
    *pos = client;
    *clip = client;
    if (info) {
      info->fMDIApp = FALSE;
      info->hwndFrame = window_ ? GetAncestor(window_, GA_ROOT) : nullptr;
      info->haccel = nullptr;
      info->cAccelEntries = 0;
    }
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceSiteEx
  STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD) override {
    if (noRedraw) *noRedraw = FALSE;
    return S_OK;
  }
  STDMETHODIMP OnInPlaceDeactivateEx(BOOL) override { return S_OK; }
  STDMETHODIMP RequestUIActivate() override { return S_OK; }

  // IOleInPlaceUIWindow
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

  // IOleInPlaceFrame
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  friend class RefCounted<Site>;
  ~Site() = default;
  HWND window_;
};

// The event sink: an IDispatch that answers as the control's source interface.
class EventSink final : public IDispatch, RefCounted<EventSink> {
 public:
  EventSink(const IID& source, ControlEventHandler handler) : source_(source), handler_(std::move(handler)) {}
  void Detach() { handler_ = nullptr; }

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    const std::array<InterfaceEntry, 2> table{{
        {&IID_IDispatch, [](void* s) -> IUnknown* { return static_cast<IDispatch*>(static_cast<EventSink*>(s)); }},
        {&source_, [](void* s) -> IUnknown* { return static_cast<IDispatch*>(static_cast<EventSink*>(s)); }},
    }};
    return QueryFromTable(this, table, riid, out);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
  STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
    // An event the program fails to handle is still delivered: the control
    // goes on, and nothing unwinds into it.
    return Guarded("control event", S_OK, [&] {
      if (!handler_) return S_OK;
      static const DISPPARAMS kNoArgs{};
      // A copy keeps the handler alive even if it disconnects the sink.
      auto handler = handler_;
      handler(id, params ? *params : kNoArgs);
      return S_OK;
    });
  }

 private:
  friend class RefCounted<EventSink>;
  ~EventSink() = default;
  IID source_;
  ControlEventHandler handler_;
};

// The default source interface of a control, from its class information.
bool DefaultSourceInterface(IUnknown* control, IID* out) {
  ComPtr<IProvideClassInfo2> info2;
  if (SUCCEEDED(control->QueryInterface(IID_PPV_ARGS(&info2))) &&
      SUCCEEDED(info2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, out))) {
    return true;
  }
  ComPtr<IProvideClassInfo> info;
  ComPtr<ITypeInfo> classInfo;
  if (FAILED(control->QueryInterface(IID_PPV_ARGS(&info))) || FAILED(info->GetClassInfo(&classInfo))) return false;
  TYPEATTR* classAttr = nullptr;
  if (FAILED(classInfo->GetTypeAttr(&classAttr))) return false;
  bool found = false;
  for (UINT i = 0; i < classAttr->cImplTypes && !found; ++i) {
    INT flags = 0;
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> implInfo;
    if (FAILED(classInfo->GetImplTypeFlags(i, &flags)) || (flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) !=
                                                              (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) {
      continue;
    }
    if (FAILED(classInfo->GetRefTypeOfImplType(i, &ref)) || FAILED(classInfo->GetRefTypeInfo(ref, &implInfo))) continue;
    TYPEATTR* implAttr = nullptr;
    if (SUCCEEDED(implInfo->GetTypeAttr(&implAttr))) {
      *out = implAttr->guid;
      found = true;
      implInfo->ReleaseTypeAttr(implAttr);
    }
  }
  classInfo->ReleaseTypeAttr(classAttr);
  return found;
}

// One per host window, owned by it.
class ControlHost : public OwnedWindow<ControlHost> {
 public:
  explicit ControlHost(HWND window) : window_(window) {}

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == AtlGetControlMessage()) {
      IUnknown* control = Control();
      if (control) control->AddRef();
      return reinterpret_cast<LRESULT>(control);
    }
    switch (message) {
      case WM_CREATE:
        CreateControl();
        return 0;
      case WM_SIZE:
        FitControl();
        return 0;
      case WM_DESTROY:
        Destroy();
        return 0;
      default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
  }

  void CreateControl() {
    wchar_t className[64] = {};
    CLSID clsid{};
    if (!GetClassNameW(window_, className, 64) || FAILED(CLSIDFromString(className, &clsid))) return;
    ComPtr<IOleObject> object;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object)))) return;
    site_ = Adopt(new Site(window_));
    if (FAILED(object->SetClientSite(site_.Get()))) {
      site_->Detach();
      site_.Reset();
      return;
    }
    ComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(object.As(&persist))) persist->InitNew();
    object_ = object;
    RECT client{};
    GetClientRect(window_, &client);
    object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, window_, &client);
  }

  void FitControl() {
    ComPtr<IOleInPlaceObject> inPlace;
    if (!object_ || FAILED(object_.As(&inPlace))) return;
    RECT client{};
    GetClientRect(window_, &client);
    inPlace->SetObjectRects(&client, &client);
  }

  IUnknown* Control() const { return object_.Get(); }

  bool Connect(ControlEventHandler handler) {
    Disconnect();
    IID source{};
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    if (!object_ || !DefaultSourceInterface(object_.Get(), &source) || FAILED(object_.As(&container)) ||
        FAILED(container->FindConnectionPoint(source, &point))) {
      return false;
    }
    ComPtr<EventSink> sink = Adopt(new EventSink(source, std::move(handler)));
    DWORD cookie = 0;
    if (FAILED(point->Advise(sink.Get(), &cookie))) {
      sink->Detach();
      return false;
    }
    point_ = point;
    sink_ = sink;
    cookie_ = cookie;
    return true;
  }

  void Disconnect() {
    if (point_) point_->Unadvise(cookie_);
    if (sink_) sink_->Detach();
    point_.Reset();
    sink_.Reset();
    cookie_ = 0;
  }

  void Destroy() {
    Disconnect();
    if (object_) {
      object_->Close(OLECLOSE_NOSAVE);
      object_->SetClientSite(nullptr);
      object_.Reset();
    }
    if (site_) {
      site_->Detach();
      site_.Reset();
    }
  }

 private:
  HWND window_;
  ComPtr<IOleObject> object_;
  ComPtr<Site> site_;
  ComPtr<IConnectionPoint> point_;
  ComPtr<EventSink> sink_;
  DWORD cookie_ = 0;
};

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&AtlGetControlMessage), &module);
  return module;
}

}  // namespace

bool RegisterControlHostClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ControlHost::Proc;
    wc.hInstance = ThisModule();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kMediaPlayerControlClass;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

UINT AtlGetControlMessage() {
  static const UINT message = RegisterWindowMessageW(L"WM_ATLGETCONTROL");
  return message;
}

ComPtr<IUnknown> GetHostedControl(HWND host) {
  if (!host || !IsWindow(host)) return nullptr;
  // The answer already carries the reference we take over.
  return Adopt(reinterpret_cast<IUnknown*>(SendMessageW(host, AtlGetControlMessage(), 0, 0)));
}

ComPtr<IDispatch> MakeControlEventSink(const IID& source, ControlEventHandler handler) {
  return Adopt<IDispatch>(new EventSink(source, std::move(handler)));
}

bool ConnectControlEvents(HWND host, ControlEventHandler handler) {
  wchar_t className[64] = {};
  if (!host || !GetClassNameW(host, className, 64) || lstrcmpiW(className, kMediaPlayerControlClass) != 0) return false;
  ControlHost* h = ControlHost::From(host);
  return h && h->Connect(std::move(handler));
}

}  // namespace sorvane::win
