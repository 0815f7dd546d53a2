#include "medialist/win/list_drag_drop.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "framework/win/boundary.h"
#include "framework/win/com_object.h"
#include "framework/win/wintext.h"
#include "medialist/win/drop_block.h"
#include "medialist/win/media_list_view.h"

namespace sorvane::win {
namespace {

class RowDropSource final : public SingleInterfaceObject<RowDropSource, IDropSource, IID_IDropSource> {
 public:
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    if (escape) return DRAGDROP_S_CANCEL;
    if (!(keys & (MK_LBUTTON | MK_RBUTTON))) return DRAGDROP_S_DROP;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

class TextDataObject final : public SingleInterfaceObject<TextDataObject, IDataObject, IID_IDataObject> {
 public:
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, sizeof(kRowDragText));
    if (!mem) return E_OUTOFMEMORY;
    if (void* p = GlobalLock(mem)) {
      std::memcpy(p, kRowDragText, sizeof(kRowDragText));
      GlobalUnlock(mem);
    }
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = mem;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    if (!format || format->cfFormat != CF_TEXT || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    FORMATETC f{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return SHCreateStdEnumFmtEtc(1, &f, out);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
};

bool HasFiles(IDataObject* data) {
  if (!data) return false;
  FORMATETC f{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  return data->QueryGetData(&f) == S_OK;
}

}  // namespace

DWORD RunRowDrag() {
  TextDataObject* data = new TextDataObject;
  RowDropSource* source = new RowDropSource;
  DWORD effect = DROPEFFECT_NONE;
  DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
  source->Release();
  data->Release();
  return effect;
}

std::vector<Text> DroppedFiles(IDataObject* data) {
  std::vector<Text> paths;
  if (!HasFiles(data)) return paths;
  FORMATETC f{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (data->GetData(&f, &medium) != S_OK) return paths;
  struct Release {
    STGMEDIUM& medium;
    ~Release() { ReleaseStgMedium(&medium); }
  } release{medium};
  // The source process filled the block: read it only within its own size.
  if (medium.tymed == TYMED_HGLOBAL) paths = ReadDropBlock(medium.hGlobal);
  return paths;
}

DWORD ListDropTarget::EffectAt(POINTL pt) {
  if (!view_ptr_) return DROPEFFECT_NONE;
  if (!view_ptr_->InternalDrag()) return files_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  POINT client{pt.x, pt.y};
  ScreenToClient(view_ptr_->Window(), &client);
  return view_ptr_->DragOverAt(client);
}

HRESULT ListDropTarget::DragEnter(IDataObject* data, DWORD, POINTL pt, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  *effect = DROPEFFECT_NONE;
  return Guarded("ListDropTarget::DragEnter", S_OK, [&] {
    files_ = HasFiles(data);
    *effect = EffectAt(pt);
    return S_OK;
  });
}

HRESULT ListDropTarget::DragOver(DWORD, POINTL pt, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  *effect = DROPEFFECT_NONE;
  return Guarded("ListDropTarget::DragOver", S_OK, [&] {
    *effect = EffectAt(pt);
    return S_OK;
  });
}

HRESULT ListDropTarget::DragLeave() {
  files_ = false;
  return Guarded("ListDropTarget::DragLeave", S_OK, [&] {
    if (view_ptr_) view_ptr_->EndDrag();
    return S_OK;
  });
}

HRESULT ListDropTarget::Drop(IDataObject* data, DWORD, POINTL pt, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  *effect = DROPEFFECT_NONE;
  files_ = false;
  // Adding dropped folders pumps messages: the window (and with it the view's
  // hold on this object) may go before the call returns.
  Microsoft::WRL::ComPtr<ListDropTarget> self(this);
  return Guarded("ListDropTarget::Drop", S_OK, [&] {
    if (!view_ptr_) return S_OK;
    if (view_ptr_->InternalDrag()) {
      POINT client{pt.x, pt.y};
      ScreenToClient(view_ptr_->Window(), &client);
      if (view_ptr_->DropAt(client)) *effect = DROPEFFECT_MOVE;
    } else {
      std::vector<Text> files = DroppedFiles(data);
      if (!files.empty()) {
        *effect = DROPEFFECT_COPY;
        view_ptr_->DropFiles(std::move(files));
      }
    }
    // Forgotten when the list view was destroyed meanwhile.
    if (view_ptr_) view_ptr_->EndDrag();
    return S_OK;
  });
}

}  // namespace sorvane::win
