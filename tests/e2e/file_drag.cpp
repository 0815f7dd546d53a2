#include "file_drag.h"

#include <shlobj.h>

#include <cstring>

namespace e2e {
namespace {

class FileDataObject final : public IDataObject {
 public:
  explicit FileDataObject(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const auto& path : paths) list += path + L'\0';
    list += L'\0';
    bytes_.resize(sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    memcpy(bytes_.data(), &header, sizeof header);
    memcpy(bytes_.data() + sizeof header, list.data(), list.size() * sizeof(wchar_t));
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDataObject) {
      *out = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, bytes_.size());
    if (!copy) return E_OUTOFMEMORY;
    memcpy(GlobalLock(copy), bytes_.data(), bytes_.size());
    GlobalUnlock(copy);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = copy;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return SHCreateStdEnumFmtEtc(1, &format, out);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  ~FileDataObject() = default;
  LONG refs_ = 1;
  std::vector<char> bytes_;
};

// Drops when told to, wherever the cursor then is.
class TimedDropSource final : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDropSource) {
      *out = static_cast<IDropSource*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
    if (escape || cancel) return DRAGDROP_S_CANCEL;
    return drop ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
  volatile LONG drop = 0, cancel = 0;
};

struct Mover {
  POINT at;
  TimedDropSource* source;
  HANDLE done;
};

DWORD WINAPI MoveThenDrop(void* p) {
  auto* m = static_cast<Mover*>(p);
  Sleep(300);
  // The target learns of the drag from mouse moves; a few wiggles over it.
  for (int i = 0; i < 8; ++i) {
    SetCursorPos(m->at.x, m->at.y - (i % 2));
    Sleep(150);
  }
  InterlockedExchange(&m->source->drop, 1);
  if (WaitForSingleObject(m->done, 15000) != WAIT_OBJECT_0) InterlockedExchange(&m->source->cancel, 1);
  return 0;
}

}  // namespace

HRESULT DragFilesTo(POINT at, const std::vector<std::wstring>& paths, DWORD* effect) {
  TimedDropSource source;
  Mover mover{at, &source, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  if (!mover.done) return E_FAIL;
  HANDLE thread = CreateThread(nullptr, 0, MoveThenDrop, &mover, 0, nullptr);
  if (!thread) {
    CloseHandle(mover.done);
    return E_FAIL;
  }
  auto* data = new FileDataObject(paths);
  DWORD got = DROPEFFECT_NONE;
  const HRESULT result = DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_LINK, &got);
  data->Release();
  SetEvent(mover.done);
  WaitForSingleObject(thread, 20000);
  CloseHandle(thread);
  CloseHandle(mover.done);
  if (effect) *effect = got;
  return result;
}

}  // namespace e2e
