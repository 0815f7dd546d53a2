// The settings store's file system on POSIX, for native tests and benchmarks
// that want real files: atomic replace by a temporary file and rename.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "settings/file_system.h"

namespace sorvane::testing {

class PosixFileSystem : public FileSystem {
 public:
  bool ReadFile(const Text& path, std::string& bytes) override {
    const int fd = ::open(ToUtf8(path).c_str(), O_RDONLY);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0;
    if (ok) {
      bytes.resize(static_cast<size_t>(st.st_size));
      size_t done = 0;
      while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
      }
      bytes.resize(done);
    }
    ::close(fd);
    return ok;
  }

  bool WriteFileAtomic(const Text& path, std::string_view bytes) override {
    const std::string target = ToUtf8(path);
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    bool ok = true;
    for (size_t done = 0; ok && done < bytes.size();) {
      const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      ok = n > 0;
      if (ok) done += static_cast<size_t>(n);
    }
    ok = ok && (!sync || ::fsync(fd) == 0);
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
  }

  bool Stamp(const Text& path, FileStamp& stamp) override {
    struct stat st {};
    if (!stamps || ::stat(ToUtf8(path).c_str(), &st) != 0) return false;
    stamp = {static_cast<uint64_t>(st.st_size),
             static_cast<uint64_t>(st.st_mtim.tv_sec) * 1000000000u + static_cast<uint64_t>(st.st_mtim.tv_nsec),
             static_cast<uint64_t>(st.st_dev), 0, static_cast<uint64_t>(st.st_ino)};
    return true;
  }

  int PathKind(const Text& path) override {
    struct stat st {};
    if (::stat(ToUtf8(path).c_str(), &st) != 0) return errno == ENOENT || errno == ENOTDIR ? 0 : -1;
    return S_ISDIR(st.st_mode) ? 2 : 1;
  }
  bool CreateFolder(const Text& path) override { return ::mkdir(ToUtf8(path).c_str(), 0700) == 0; }
  Text TempFolder() override {
    const char* t = std::getenv("TMPDIR");
    return FromUtf8(t && *t ? t : "/tmp") + u"/";
  }
  Text ProgramFilePath() override {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf);
    return n > 0 ? FromUtf8(std::string_view(buf, static_cast<size_t>(n))) : Text();
  }
  Text AppDataFolder() override {
    const char* h = std::getenv("HOME");
    return FromUtf8(h ? h : "");
  }
  // Latin-1 stands for the ANSI code page.
  Text AnsiToText(std::string_view bytes) override {
    Text t;
    for (char c : bytes) t.push_back(static_cast<unsigned char>(c));
    return t;
  }

  bool sync = true;    // flush to the disk before the rename, as the Win32 version does
  bool stamps = true;  // false: nothing read is kept, every read parses the file again
};

// A fresh folder under the temporary folder, removed with its files at the end.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = "/tmp/sorvane_settings_XXXXXX";
    if (::mkdtemp(pattern.data())) path_ = pattern;
  }
  ~TempFolder() {
    if (!path_.empty()) std::system(("rm -rf '" + path_ + "'").c_str());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  Text File(const char* name) const { return FromUtf8(path_ + "/" + name); }
  bool ok() const { return !path_.empty(); }

 private:
  std::string path_;
};

}  // namespace sorvane::testing
