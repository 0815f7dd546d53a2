// Kills a process in the middle of saving a large list, again and again, and
// checks that the INI file it leaves is always the old list or the new one,
// whole: never torn, never empty.
//
//   killed_saves [trials] [paths] [folder]
//
// Each trial forks a child that saves a list of `paths` paths (different in
// every trial) through the settings store, as the program does, and kills it
// with SIGKILL after a random delay between nothing and a little more than one
// save takes. The parent then reads the file back through a fresh store and
// compares it with the two candidates. Prints the counts; exits 1 on any
// torn, empty or unreadable file.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "../tests/support/posix_file_system.h"
#include "settings/settings_store.h"

namespace {

using sorvane::Text;

constexpr sorvane::TextView kSection = u"MediaList";

// A list of n paths of about 80 characters, some outside the basic plane,
// that names its trial in every path so two lists never compare equal.
Text MakeList(int trial, int n) {
  Text list;
  for (int i = 0; i < n; ++i) {
    if (i) list += u"\r\n";
    list += sorvane::FromUtf8("C:\\Music\\trial " + std::to_string(trial) + "\\Album " + std::to_string(i % 97) +
                              "\\Track " + std::to_string(i) + (i % 13 == 0 ? " \xF0\x9F\x8E\xB5" : "") +
                              " - a somewhat long title.mp3");
  }
  return list;
}

bool Save(const Text& ini, const Text& list) {
  sorvane::testing::PosixFileSystem fs;
  sorvane::SettingsStore store(fs);
  store.SetIniPath(ini);
  return store.WriteLongValue(kSection, list) && store.WriteInt(u"Sorvane", u"m_LastSel", 0);
}

enum class Seen { kOld, kNew, kTorn, kEmpty, kMissing };

Seen Inspect(const Text& ini, const Text& oldList, const Text& newList) {
  sorvane::testing::PosixFileSystem fs;
  std::string bytes;
  if (!fs.ReadFile(ini, bytes)) return Seen::kMissing;
  if (bytes.empty()) return Seen::kEmpty;
  sorvane::SettingsStore store(fs);
  store.SetIniPath(ini);
  const Text stored = store.ReadLongValue(kSection);
  if (stored == oldList) return Seen::kOld;
  if (stored == newList) return Seen::kNew;
  return Seen::kTorn;
}

}  // namespace

int main(int argc, char** argv) {
  const int trials = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int paths = argc > 2 ? std::atoi(argv[2]) : 100000;
  const std::filesystem::path folder =
      argc > 3 ? std::filesystem::path(argv[3]) : std::filesystem::temp_directory_path() / "sorvane_killed_saves";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const Text ini = sorvane::FromUtf8((folder / "Sorvane.ini").string());

  Text current = MakeList(0, paths);
  if (!Save(ini, current)) {
    std::fprintf(stderr, "the first save failed\n");
    return 1;
  }
  // How long one save takes here, so the kills spread over a whole save.
  const auto t0 = std::chrono::steady_clock::now();
  Save(ini, current);
  const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0);
  const long window = static_cast<long>(saveTime.count() * 12 / 10) + 1;

  std::mt19937_64 random(20261210);
  std::uniform_int_distribution<long> delay(0, window);
  int seenOld = 0, seenNew = 0, bad = 0, finishedBeforeKill = 0;
  for (int trial = 1; trial <= trials; ++trial) {
    const Text next = MakeList(trial, paths);
    const pid_t child = fork();
    if (child < 0) {
      std::perror("fork");
      return 1;
    }
    if (child == 0) _exit(Save(ini, next) ? 0 : 3);
    usleep(static_cast<useconds_t>(delay(random)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) ++finishedBeforeKill;
    switch (Inspect(ini, current, next)) {
      case Seen::kOld:
        ++seenOld;
        break;
      case Seen::kNew:
        ++seenNew;
        current = next;
        break;
      case Seen::kTorn:
        ++bad;
        std::fprintf(stderr, "trial %d: the list is neither the old nor the new one\n", trial);
        break;
      case Seen::kEmpty:
        ++bad;
        std::fprintf(stderr, "trial %d: the file is empty\n", trial);
        break;
      case Seen::kMissing:
        ++bad;
        std::fprintf(stderr, "trial %d: the file is gone\n", trial);
        break;
    }
    // Temporary files of killed saves are left behind by design (the next
    // save does not need them); clear them so the folder does not fill up.
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      if (entry.path().filename() != "Sorvane.ini") std::filesystem::remove(entry.path());
  }
  std::printf("list size                %d paths, %zu bytes stored\n", paths,
              static_cast<size_t>(std::filesystem::file_size(folder / "Sorvane.ini")));
  std::printf("one save takes           %.1f ms; kills spread over %.1f ms\n", saveTime.count() / 1000.0,
              window / 1000.0);
  std::printf("trials                   %d\n", trials);
  std::printf("old list found           %d\n", seenOld);
  std::printf("new list found           %d (%d saves finished before the kill)\n", seenNew, finishedBeforeKill);
  std::printf("torn, empty or missing   %d\n", bad);
  std::filesystem::remove_all(folder);
  return bad == 0 && seenOld + seenNew == trials ? 0 : 1;
}
