// The COM objects of reordering rows by dragging: the list view's drop
// target, and the source and data object of a drag that starts on a row.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <vector>

#include "framework/text.h"
#include "framework/win/com_object.h"

namespace sorvane::win {

class MediaListView;

// The fixed text a row drag carries, so that the data object is not empty.
inline constexpr char kRowDragText[] = "Hello, World! Nex Version Drag Drop More";

class ListDropTarget final : public SingleInterfaceObject<ListDropTarget, IDropTarget, IID_IDropTarget> {
 public:
  explicit ListDropTarget(MediaListView& view) : view_ptr_(&view) {}
  void Forget() { view_ptr_ = nullptr; }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;

 private:
  DWORD EffectAt(POINTL pt);
  MediaListView* view_ptr_;  // cleared when the view goes before OLE lets go
  bool files_ = false;
};

// Starts a modal OLE drag of the fixed text allowing copy, move and link.
DWORD RunRowDrag();

// The paths of a CF_HDROP in data; empty when it carries none.
std::vector<Text> DroppedFiles(IDataObject* data);

}  // namespace sorvane::win
