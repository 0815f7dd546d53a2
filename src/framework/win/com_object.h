// Reference counting and QueryInterface from a table for the few COM objects
// the program implements itself (the control site, the event sink, the drag
// and drop objects of the list view).
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <wrl/client.h>

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

// An object with one interface of its own: IUnknown and iid are answered.
template <class Derived, class Interface, const IID& iid>
class SingleInterfaceObject : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    static constexpr InterfaceEntry kTable[] = {
        {&iid, [](void* self) -> IUnknown* { return static_cast<Interface*>(static_cast<Derived*>(self)); }}};
    return QueryFromTable(static_cast<Derived*>(this), kTable, riid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete static_cast<Derived*>(this);
    return static_cast<ULONG>(left);
  }

 private:
  LONG refs_ = 1;
};

// Takes over a reference the caller already owns (a new object, or a pointer
// handed out with a reference added). ComPtr::Attach of this mingw-w64 version
// adds a reference of its own, which would leak the object.
template <class T>
Microsoft::WRL::ComPtr<T> Adopt(T* owned) {
  Microsoft::WRL::ComPtr<T> p;
  *p.ReleaseAndGetAddressOf() = owned;
  return p;
}

}  // namespace sorvane::win
