// Files the Wine tests make for themselves: a short WAV tone and BMP screenshots.
#pragma once

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "../support/sound_files.h"

namespace sorvane::testing {

// A folder of its own under the temporary folder, removed with its files.
class TempFolder {
 public:
  TempFolder() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"sorvane_playback_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(GetTickCount());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempFolder() {
    for (const auto& f : files_) DeleteFileW(f.c_str());
    RemoveDirectoryW(path_.c_str());
  }
  std::wstring File(const wchar_t* name) {
    files_.push_back(path_ + L"\\" + name);
    return files_.back();
  }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
  std::vector<std::wstring> files_;
};

inline bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
  return ok && written == bytes.size();
}

// 16-bit mono PCM of the given length.
inline bool WriteToneWav(const std::wstring& path, double seconds, uint32_t rate = 22050) {
  const std::string b = SoundFileBytes(seconds, Sound::kWav16, rate);
  return WriteBytes(path, std::vector<uint8_t>(b.begin(), b.end()));
}

// The screen pixels of a window's rectangle.
struct Capture {
  int width = 0, height = 0;
  std::vector<uint8_t> bgr;  // bottom-up rows, 4-byte aligned, as in a BMP
  int Stride() const { return (width * 3 + 3) & ~3; }
  COLORREF At(int x, int y) const {
    const uint8_t* p = &bgr[static_cast<size_t>(height - 1 - y) * Stride() + x * 3];
    return RGB(p[2], p[1], p[0]);
  }
};

inline Capture CaptureWindow(HWND window) {
  Capture c;
  RECT r{};
  GetWindowRect(window, &r);
  c.width = r.right - r.left;
  c.height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, c.width, c.height);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, c.width, c.height, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), c.width, c.height, 1, 24, BI_RGB};
  c.bgr.resize(static_cast<size_t>(c.Stride()) * c.height);
  GetDIBits(mem, bmp, 0, c.height, c.bgr.data(), &bi, DIB_RGB_COLORS);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return c;
}

// Saves a capture as BMP into $SORVANE_SCREENSHOT_DIR when that is set.
inline void SaveScreenshot(const Capture& c, const wchar_t* name) {
  wchar_t dir[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"SORVANE_SCREENSHOT_DIR", dir, MAX_PATH)) return;
  std::wstring path = dir;
  // The folder comes from the Unix side; Wine maps it through the Z: drive.
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  path += L"\\";
  path += name;
  std::vector<uint8_t> b;
  auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i))); };
  auto put16 = [&](uint16_t v) { b.push_back(static_cast<uint8_t>(v)); b.push_back(static_cast<uint8_t>(v >> 8)); };
  b.push_back('B'); b.push_back('M');
  put32(static_cast<uint32_t>(54 + c.bgr.size())); put32(0); put32(54);
  put32(40); put32(c.width); put32(c.height); put16(1); put16(24); put32(0);
  put32(static_cast<uint32_t>(c.bgr.size())); put32(2835); put32(2835); put32(0); put32(0);
  b.insert(b.end(), c.bgr.begin(), c.bgr.end());
  WriteBytes(path, b);
}

}  // namespace sorvane::testing
