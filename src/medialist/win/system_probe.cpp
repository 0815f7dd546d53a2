#include "medialist/win/system_probe.h"

#include <windows.h>

#include <mfapi.h>
#include <mfidl.h>
#include <objbase.h>
#include <propidl.h>
#include <propsys.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include "framework/win/system_library.h"
#include "framework/win/wintext.h"

using Microsoft::WRL::ComPtr;

namespace sorvane::win {
namespace {

constexpr PROPERTYKEY kTitle = {{0xF29F85E0, 0x4FF9, 0x1068, {0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9}}, 2};
constexpr PROPERTYKEY kDuration = {{0x64440490, 0x4C8B, 0x11D1, {0x8B, 0x70, 0x08, 0x00, 0x36, 0xB1, 0x1A, 0x03}}, 3};
constexpr PROPERTYKEY kContentType = {{0xD5CDD502, 0x2E9C, 0x101B, {0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE}}, 26};
constexpr PROPERTYKEY kFrameWidth = {{0x64440491, 0x4C8B, 0x11D1, {0x8B, 0x70, 0x08, 0x00, 0x36, 0xB1, 0x1A, 0x03}}, 3};
constexpr IID kIidPropertyStore = {0x886D8EEB, 0x8CF2, 0x4446, {0x8D, 0x02, 0xCD, 0xBA, 0x1D, 0xBD, 0xCF, 0x99}};

using GetStoreFn = HRESULT(WINAPI*)(PCWSTR, IBindCtx*, GETPROPERTYSTOREFLAGS, REFIID, void**);

// Loaded once and never freed: the handle lives as long as the process.
HMODULE Shell32() {
  static HMODULE module = LoadSystemLibrary(L"shell32.dll");
  return module;
}

class PropVariant {
 public:
  PropVariant() { PropVariantInit(&v_); }
  ~PropVariant() { PropVariantClear(&v_); }
  PropVariant(const PropVariant&) = delete;
  PropVariant& operator=(const PropVariant&) = delete;
  PROPVARIANT* get() { return &v_; }
  const PROPVARIANT& operator*() const { return v_; }

 private:
  PROPVARIANT v_;
};

bool ReadText(IPropertyStore* store, const PROPERTYKEY& key, Text& out) {
  PropVariant v;
  if (FAILED(store->GetValue(key, v.get()))) return false;
  if ((*v).vt == VT_LPWSTR && (*v).pwszVal) {
    out = T((*v).pwszVal);
    return true;
  }
  if ((*v).vt == VT_BSTR && (*v).bstrVal) {
    out = T((*v).bstrVal);
    return true;
  }
  return false;
}

Text ExtensionOf(const Text& path) {
  size_t slash = path.find_last_of(u"\\/");
  size_t dot = path.find_last_of(u'.');
  if (dot == Text::npos || (slash != Text::npos && dot < slash) || dot + 1 >= path.size()) return u"unknown";
  return ToLower(TextView(path).substr(dot + 1));
}

struct MfApi {
  decltype(&MFStartup) startup = nullptr;
  decltype(&MFShutdown) shutdown = nullptr;
  decltype(&MFCreateSourceResolver) createResolver = nullptr;
  decltype(&MFGetService) getService = nullptr;
};

// Media Foundation is optional on some editions of the system, so it is not
// linked: without it the fallback simply opens nothing.
const MfApi& Mf() {
  static const MfApi api = [] {
    MfApi a;
    if (HMODULE plat = LoadSystemLibrary(L"mfplat.dll")) {
      a.startup = reinterpret_cast<decltype(&MFStartup)>(reinterpret_cast<void*>(GetProcAddress(plat, "MFStartup")));
      a.shutdown =
          reinterpret_cast<decltype(&MFShutdown)>(reinterpret_cast<void*>(GetProcAddress(plat, "MFShutdown")));
      a.createResolver = reinterpret_cast<decltype(&MFCreateSourceResolver)>(
          reinterpret_cast<void*>(GetProcAddress(plat, "MFCreateSourceResolver")));
    }
    if (HMODULE mf = LoadSystemLibrary(L"mf.dll")) {
      a.getService =
          reinterpret_cast<decltype(&MFGetService)>(reinterpret_cast<void*>(GetProcAddress(mf, "MFGetService")));
    }
    return a;
  }();
  return api;
}

Text MetadataTitle(IMFMediaSource* source, IMFPresentationDescriptor* pd) {
  if (!Mf().getService) return {};
  ComPtr<IMFMetadataProvider> provider;
  if (FAILED(Mf().getService(source, MF_METADATA_PROVIDER_SERVICE, IID_PPV_ARGS(&provider))) || !provider) return {};
  ComPtr<IMFMetadata> metadata;
  if (FAILED(provider->GetMFMetadata(pd, 0, 0, &metadata)) || !metadata) return {};
  PropVariant v;
  if (FAILED(metadata->GetProperty(L"Title", v.get()))) return {};
  if ((*v).vt == VT_LPWSTR && (*v).pwszVal) return T((*v).pwszVal);
  return {};
}

}  // namespace

ShellOpenResult ReadShellProperties(const Text& path, MediaProperties& out) {
  out = MediaProperties{};
  HMODULE shell = Shell32();
  if (!shell) return ShellOpenResult::kUnavailable;
  auto getStore = reinterpret_cast<GetStoreFn>(
      reinterpret_cast<void*>(GetProcAddress(shell, "SHGetPropertyStoreFromParsingName")));
  if (!getStore) return ShellOpenResult::kUnavailable;
  ComPtr<IPropertyStore> store;
  HRESULT hr = getStore(W(path), nullptr, GPS_DEFAULT, kIidPropertyStore, reinterpret_cast<void**>(store.GetAddressOf()));
  if (hr == E_NOTIMPL) return ShellOpenResult::kUnavailable;
  if (FAILED(hr) || !store) return ShellOpenResult::kFailed;

  out.opened = true;
  ReadText(store.Get(), kTitle, out.title);
  ReadText(store.Get(), kContentType, out.contentType);
  {
    PropVariant v;
    if (SUCCEEDED(store->GetValue(kDuration, v.get())) && (*v).vt == VT_UI8) {
      out.hasDuration = true;
      out.duration100ns = (*v).uhVal.QuadPart;
    }
  }
  {
    PropVariant v;
    if (SUCCEEDED(store->GetValue(kFrameWidth, v.get())) && (*v).vt == VT_UI4) {
      out.hasFrameWidth = true;
      out.frameWidth = (*v).ulVal;
    }
  }
  return ShellOpenResult::kOpened;
}

MediaFoundationBackend::~MediaFoundationBackend() {
  if (started_ && Mf().shutdown) Mf().shutdown();
}

MediaProperties MediaFoundationBackend::Open(const Text& path) {
  MediaProperties out;
  if (!started_) {
    if (!Mf().startup || !Mf().createResolver || FAILED(Mf().startup(MF_VERSION, MFSTARTUP_LITE))) return out;
    started_ = true;
  }
  ComPtr<IMFSourceResolver> resolver;
  if (FAILED(Mf().createResolver(&resolver)) || !resolver) return out;
  MF_OBJECT_TYPE type = MF_OBJECT_INVALID;
  ComPtr<IUnknown> object;
  if (FAILED(resolver->CreateObjectFromURL(W(path), MF_RESOLUTION_MEDIASOURCE | MF_RESOLUTION_READ, nullptr, &type,
                                           &object)) ||
      !object) {
    return out;
  }
  ComPtr<IMFMediaSource> source;
  if (FAILED(object.As(&source))) return out;
  ComPtr<IMFPresentationDescriptor> pd;
  if (FAILED(source->CreatePresentationDescriptor(&pd)) || !pd) {
    source->Shutdown();
    return out;
  }
  out.opened = true;
  UINT64 duration = 0;
  if (SUCCEEDED(pd->GetUINT64(MF_PD_DURATION, &duration))) {
    out.hasDuration = true;
    out.duration100ns = duration;
  }
  bool audio = false;
  bool video = false;
  DWORD streams = 0;
  if (SUCCEEDED(pd->GetStreamDescriptorCount(&streams))) {
    for (DWORD i = 0; i < streams; ++i) {
      BOOL selected = FALSE;
      ComPtr<IMFStreamDescriptor> sd;
      if (FAILED(pd->GetStreamDescriptorByIndex(i, &selected, &sd)) || !sd) continue;
      ComPtr<IMFMediaTypeHandler> handler;
      if (FAILED(sd->GetMediaTypeHandler(&handler)) || !handler) continue;
      GUID major = GUID_NULL;
      if (FAILED(handler->GetMajorType(&major))) continue;
      if (major == MFMediaType_Audio) audio = true;
      if (major == MFMediaType_Video) {
        ComPtr<IMFMediaType> mediaType;
        if (!video && (SUCCEEDED(handler->GetCurrentMediaType(&mediaType)) ||
                       SUCCEEDED(handler->GetMediaTypeByIndex(0, &mediaType))) &&
            mediaType) {
          UINT64 size = 0;
          if (SUCCEEDED(mediaType->GetUINT64(MF_MT_FRAME_SIZE, &size))) {
            out.hasFrameWidth = true;
            out.frameWidth = static_cast<uint32_t>(size >> 32);
          }
        }
        video = true;
      }
    }
  }
  if (video) {
    out.contentType = u"video/" + ExtensionOf(path);
  } else if (audio) {
    out.contentType = u"audio/" + ExtensionOf(path);
  }
  out.title = MetadataTitle(source.Get(), pd.Get());
  source->Shutdown();
  return out;
}

SystemProbeBackend::ComThreadScope::ComThreadScope(bool init) {
  if (init) initialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
}

SystemProbeBackend::ComThreadScope::~ComThreadScope() {
  if (initialised_) CoUninitialize();
}

MediaProperties SystemProbeBackend::Open(const Text& path) {
  MediaProperties props;
  if (ReadShellProperties(path, props) != ShellOpenResult::kUnavailable) return props;
  return fallback_.Open(path);
}

}  // namespace sorvane::win
