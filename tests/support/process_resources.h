// What a process holds, counted for leak checks: kernel handles, GDI objects
// and windows. GetProcessHandleCount and GetGuiResources answer 0 under Wine,
// so the counts are read where the platform keeps them, which Wine serves the
// same way Windows does:
// - kernel handles: the system-wide handle list (the wine server answers it),
//   filtered by the owner's process id;
// - GDI objects: the GDI handle table the process's PEB points at. Under Wine
//   the table is the process's own and its entries carry no owner; on Windows
//   it is shared and each entry names its owner;
// - windows: enumerated, top-level, children and message-only.
// The system's structures below are not declared by the cross compiler's
// headers; they are written out here, in 64-bit form only, and nowhere else.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <cwctype>
#include <vector>

namespace sorvane::testing {

static_assert(sizeof(void*) == 8, "the layouts below are those of 64-bit processes");

namespace platform {

// NtQuerySystemInformation class 64: every open handle in the system.
constexpr ULONG kSystemExtendedHandleInformation = 64;
struct HandleEntryEx {
  void* object;
  ULONG_PTR ownerProcessId;
  ULONG_PTR handleValue;
  ULONG grantedAccess;
  USHORT creatorBackTraceIndex;
  USHORT objectTypeIndex;
  ULONG handleAttributes;
  ULONG reserved;
};
struct HandleInformationEx {
  ULONG_PTR count;
  ULONG_PTR reserved;
  HandleEntryEx handles[1];
};
static_assert(sizeof(HandleEntryEx) == 40 && offsetof(HandleInformationEx, handles) == 16);

// One row of the GDI handle table; a row whose type is 0 is free.
struct GdiHandleEntry {
  uint64_t object;
  USHORT ownerProcessId;  // the owner's id, low 16 bits (Windows); 0 under Wine
  USHORT ownerLockAndCount;
  UCHAR extTypeAndStock;  // bits 0-6 the full type, bit 7 a stock object
  UCHAR generation;
  UCHAR type;  // the base type (low 5 bits of the full type)
  UCHAR flags;
  uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr size_t kGdiTableRows = 0x10000;
// Where the table's address lies in a 64-bit PEB.
constexpr size_t kPebGdiSharedHandleTable = 0xF8;

using NtQuerySystemInformationFn = LONG(NTAPI*)(ULONG, void*, ULONG, ULONG*);
using NtQueryInformationProcessFn = LONG(NTAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);

template <class Fn>
Fn NtdllFunction(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

}  // namespace platform

// Kernel handles a process has open, with its registry keys apart: the
// platform's media filter enumeration under Wine 8.0 opens registry keys (one
// per catalogue entry, and the enumerators' own) and never closes them, so
// every medium the player opens leaves some 70 keys behind, whatever the
// program does. Those whose names can be read and lie in the filter catalogue
// are counted once more on their own. The same control leaves an event behind
// with each medium, so events are counted apart as well.
struct KernelCounts {
  unsigned total = 0;
  unsigned registryKeys = 0;   // included in total
  unsigned catalogueKeys = 0;  // included in registryKeys
  unsigned events = 0;         // included in total
  // Everything but registry keys and events: threads, files, mutexes, sections...
  unsigned Rest() const { return total - registryKeys - events; }
  std::map<USHORT, unsigned> restByType;  // type number (see ObjectTypeNames) -> handles
};

// The names of the object types by their number in the handle list, for
// messages; empty where the platform does not list them.
inline std::map<USHORT, std::wstring> ObjectTypeNames() {
  using NtQueryObjectFn = LONG(NTAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);
  const auto queryObject = platform::NtdllFunction<NtQueryObjectFn>("NtQueryObject");
  std::map<USHORT, std::wstring> names;
  if (!queryObject) return names;
  std::vector<ULONG_PTR> buffer(1 << 13);  // 64 KB, aligned
  if (queryObject(nullptr, 3 /* ObjectTypesInformation */, buffer.data(),
                  static_cast<ULONG>(buffer.size() * sizeof(ULONG_PTR)), nullptr) != 0)
    return names;
  // A count, then one record per type: a fixed part of 0x68 bytes (the name
  // first, the type's number at 0x58) and the name's characters, padded to 8
  // bytes. Wine leaves the number 0: there the position is the number.
  const auto* base = reinterpret_cast<const unsigned char*>(buffer.data());
  const unsigned char* end = base + buffer.size() * sizeof(ULONG_PTR);
  const ULONG count = *reinterpret_cast<const ULONG*>(base);
  const unsigned char* p = base + sizeof(ULONG_PTR);
  for (ULONG i = 0; i < count && p + 0x68 <= end; ++i) {
    const auto* name = reinterpret_cast<const UNICODE_STRING*>(p);
    const USHORT number = p[0x58] ? p[0x58] : static_cast<USHORT>(i);
    names[number] = name->Buffer ? std::wstring(name->Buffer, name->Length / sizeof(wchar_t)) : std::wstring();
    p += 0x68 + ((name->MaximumLength + 7u) & ~7u);
  }
  return names;
}

namespace platform {
using NtQueryKeyFn = LONG(NTAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);

// The handle list of the whole system; empty when the platform does not give it.
inline std::vector<unsigned char> SystemHandles() {
  auto query = NtdllFunction<NtQuerySystemInformationFn>("NtQuerySystemInformation");
  if (!query) return {};
  std::vector<unsigned char> buffer(1 << 20);
  for (int attempt = 0; attempt < 8; ++attempt) {
    ULONG needed = 0;
    const LONG status = query(kSystemExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) return buffer;
    if (status != static_cast<LONG>(0xC0000004) /* STATUS_INFO_LENGTH_MISMATCH */) return {};
    // Handles come and go between the two calls: ask with room to spare.
    buffer.resize(std::max<size_t>(buffer.size() * 2, needed + needed / 4));
  }
  return {};
}

// The type number the handle list gives a kind of object: that of one this
// process holds (the numbers differ between platforms and versions).
inline std::optional<USHORT> TypeIndexOf(const std::vector<unsigned char>& list, HANDLE own) {
  if (!own) return std::nullopt;
  const auto* info = reinterpret_cast<const HandleInformationEx*>(list.data());
  for (ULONG_PTR i = 0; i < info->count; ++i)
    if (info->handles[i].ownerProcessId == GetCurrentProcessId() &&
        info->handles[i].handleValue == reinterpret_cast<ULONG_PTR>(own))
      return info->handles[i].objectTypeIndex;
  return std::nullopt;
}

inline bool IsCatalogueKey(HANDLE key) {
  static const auto queryKey = NtdllFunction<NtQueryKeyFn>("NtQueryKey");
  if (!queryKey) return false;
  alignas(8) unsigned char name[2048];
  ULONG got = 0;
  if (queryKey(key, 3 /* KeyNameInformation */, name, sizeof name, &got) != 0) return false;
  const ULONG bytes = *reinterpret_cast<const ULONG*>(name);
  const std::wstring_view text(reinterpret_cast<const wchar_t*>(name + sizeof(ULONG)),
                               std::min<size_t>(bytes, sizeof name - sizeof(ULONG)) / sizeof(wchar_t));
  auto has = [&](std::wstring_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(), [](wchar_t a, wchar_t b) {
             return towlower(a) == towlower(b);
           }) != text.end();
  };
  return (has(L"\\Classes\\CLSID\\") && has(L"\\Instance")) || has(L"\\ActiveMovie\\devenum");
}
}  // namespace platform

// `process` (PROCESS_DUP_HANDLE) lets the names of another process's keys be
// read; without it, or for this process, keys are read in place.
inline std::optional<KernelCounts> KernelHandleCounts(DWORD pid, HANDLE process = nullptr) {
  // One object of each kind told apart, held while the list is read.
  HKEY probeKey = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_READ, &probeKey) != ERROR_SUCCESS) probeKey = nullptr;
  HANDLE probeEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const std::vector<unsigned char> list = platform::SystemHandles();
  std::optional<USHORT> keyType, eventType;
  if (!list.empty()) {
    keyType = platform::TypeIndexOf(list, probeKey);
    eventType = platform::TypeIndexOf(list, probeEvent);
  }
  if (probeKey) RegCloseKey(probeKey);
  if (probeEvent) CloseHandle(probeEvent);
  if (list.empty()) return std::nullopt;
  const auto* info = reinterpret_cast<const platform::HandleInformationEx*>(list.data());
  const bool self = pid == GetCurrentProcessId();
  KernelCounts c;
  for (ULONG_PTR i = 0; i < info->count; ++i) {
    const platform::HandleEntryEx& h = info->handles[i];
    if (h.ownerProcessId != pid) continue;
    const HANDLE value = reinterpret_cast<HANDLE>(h.handleValue);
    if (self && (value == reinterpret_cast<HANDLE>(probeKey) || value == probeEvent)) continue;
    ++c.total;
    if (eventType && h.objectTypeIndex == *eventType) ++c.events;
    if (!keyType || h.objectTypeIndex != *keyType) {
      if (!eventType || h.objectTypeIndex != *eventType) ++c.restByType[h.objectTypeIndex];
      continue;
    }
    ++c.registryKeys;
    if (self) {
      if (platform::IsCatalogueKey(value)) ++c.catalogueKeys;
    } else if (process) {
      HANDLE copy = nullptr;
      if (DuplicateHandle(process, value, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        if (platform::IsCatalogueKey(copy)) ++c.catalogueKeys;
        CloseHandle(copy);
      }
    }
  }
  return c;
}

// Live GDI objects of a process, stock objects left out, by kind.
struct GdiCounts {
  unsigned total = 0, dcs = 0, regions = 0, bitmaps = 0, palettes = 0, fonts = 0, brushes = 0, pens = 0, other = 0;
};

// Reads the process's GDI table (`process` needs PROCESS_QUERY_INFORMATION and
// PROCESS_VM_READ); empty when the process has no table the tool can read.
inline std::optional<GdiCounts> GdiObjectCounts(HANDLE process) {
  auto query = platform::NtdllFunction<platform::NtQueryInformationProcessFn>("NtQueryInformationProcess");
  if (!query) return std::nullopt;
  PROCESS_BASIC_INFORMATION basic{};
  if (query(process, 0 /* ProcessBasicInformation */, &basic, sizeof(basic), nullptr) != 0) return std::nullopt;
  uint64_t table = 0;
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, static_cast<const char*>(static_cast<void*>(basic.PebBaseAddress)) +
                                      platform::kPebGdiSharedHandleTable,
                         &table, sizeof(table), &read) ||
      read != sizeof(table) || table == 0)
    return std::nullopt;
  std::vector<platform::GdiHandleEntry> rows(platform::kGdiTableRows);
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), rows.data(),
                         rows.size() * sizeof(platform::GdiHandleEntry), &read) ||
      read != rows.size() * sizeof(platform::GdiHandleEntry))
    return std::nullopt;
  // A table in which some row names an owner is shared between processes
  // (Windows): only this process's rows count. Otherwise it is the process's own.
  const USHORT self = static_cast<USHORT>(GetProcessId(process));
  bool shared = false;
  for (const auto& r : rows)
    if (r.type && r.ownerProcessId) {
      shared = true;
      break;
    }
  GdiCounts c;
  for (const auto& r : rows) {
    if (!r.type || (r.extTypeAndStock & 0x80)) continue;
    if (shared && r.ownerProcessId != self) continue;
    ++c.total;
    switch (r.type) {
      case 0x01: ++c.dcs; break;
      case 0x04: ++c.regions; break;
      case 0x05:
      case 0x09: ++c.bitmaps; break;  // Windows and Wine number the bitmap differently
      case 0x08: ++c.palettes; break;
      case 0x0a: ++c.fonts; break;
      case 0x10: {
        // Pens share the brush's base type; the full type tells them apart.
        const UCHAR full = r.extTypeAndStock & 0x7f;
        if (full == 0x30 || full == 0x50) ++c.pens;
        else ++c.brushes;
        break;
      }
      default: ++c.other; break;
    }
  }
  return c;
}

namespace detail {
struct WindowTally {
  DWORD pid;
  unsigned count = 0;
};
inline BOOL CALLBACK CountChild(HWND w, LPARAM data) {
  auto* t = reinterpret_cast<WindowTally*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner == t->pid) ++t->count;
  return TRUE;
}
inline BOOL CALLBACK CountTopLevel(HWND w, LPARAM data) {
  auto* t = reinterpret_cast<WindowTally*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner != t->pid) return TRUE;
  ++t->count;
  // Children of every depth; a child may belong to another process, so each is checked.
  EnumChildWindows(w, CountChild, data);
  return TRUE;
}
}  // namespace detail

// Windows of the process `pid`: top-level ones with all their children, and
// message-only ones (which the top-level enumeration does not list).
inline unsigned WindowCount(DWORD pid) {
  detail::WindowTally t{pid};
  EnumWindows(detail::CountTopLevel, reinterpret_cast<LPARAM>(&t));
  for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr;)
    detail::CountTopLevel(w, reinterpret_cast<LPARAM>(&t));
  return t.count;
}

}  // namespace sorvane::testing
