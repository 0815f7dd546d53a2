// Reference counting and QueryInterface from a table for the few COM objects
// the playback layer implements itself (the control site and the event sink).
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <span>

namespace sorvane::win {

struct InterfaceEntry {
  const IID* iid;
  IUnknown* (*cast)(void* self);  // the interface pointer of that IID
};

// Answers riid from the table; the first entry also answers IUnknown.
inline HRESULT QueryFromTable(void* self, std::span<const InterfaceEntry> table, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (table.empty()) return E_NOINTERFACE;
  IUnknown* found = nullptr;
  if (IsEqualIID(riid, IID_IUnknown)) {
    found = table.front().cast(self);
  } else {
    for (const auto& entry : table) {
      if (entry.iid && IsEqualIID(riid, *entry.iid)) {
        found = entry.cast(self);
        break;
      }
    }
  }
  if (!found) return E_NOINTERFACE;
  found->AddRef();
  *out = found;
  return S_OK;
}

// Counts references; the object deletes itself on the last Release.
template <class Derived>
class RefCounted {
 protected:
  ULONG AddRefImpl() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG ReleaseImpl() {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete static_cast<Derived*>(this);
    return static_cast<ULONG>(left);
  }

 private:
  LONG refs_ = 1;
};

}  // namespace sorvane::win
