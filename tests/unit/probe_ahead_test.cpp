// Probing the files of an addition ahead on worker threads while they are
// still added one by one in their own order.
#include "medialist/probe_ahead.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "medialist/media_list.h"
#include "medialist/media_list_rows.h"

namespace sorvane {
namespace {

using Texts = std::vector<Text>;

MediaProperties Audio(TextView title) {
  MediaProperties p;
  p.opened = true;
  p.title = Text(title);
  p.hasDuration = true;
  p.duration100ns = 65ull * 10000000ull;
  p.contentType = u"audio/wav";
  return p;
}

MediaProperties Video() {
  MediaProperties p = Audio(u"");
  p.contentType = u"video/mp4";
  p.hasFrameWidth = true;
  p.frameWidth = 640;
  return p;
}

MediaProperties OpenedButNoMedia() {
  MediaProperties p;
  p.opened = true;
  p.contentType = u"text/plain";
  return p;
}

// The files all backends read, with a gate each probe passes only when the
// test's condition holds. Shared by every worker's backend.
struct Library {
  std::map<Text, MediaProperties> files;
  // Evaluated under the lock; a probe of path waits until it is true.
  std::function<bool(const Text& path)> mayFinish;

  std::mutex m;
  std::condition_variable cv;
  Texts finished;  // in the order the probes ended
  int opens = 0;
  int ended = 0;  // backends destroyed (their workers have ended)
  bool released = false;

  void Release() {
    {
      std::lock_guard<std::mutex> lock(m);
      released = true;
    }
    cv.notify_all();
  }
  int Opens() {
    std::lock_guard<std::mutex> lock(m);
    return opens;
  }
  int Ended() {
    std::lock_guard<std::mutex> lock(m);
    return ended;
  }
  // Waits until the probe of path has ended.
  void WaitFinished(const Text& path) {
    std::unique_lock<std::mutex> lock(m);
    cv.wait(lock, [&] { return std::find(finished.begin(), finished.end(), path) != finished.end(); });
  }
  Texts Finished() {
    std::lock_guard<std::mutex> lock(m);
    return finished;
  }
};

class GatedBackend final : public MediaProbeBackend {
 public:
  explicit GatedBackend(Library& library) : library_(library) {}
  ~GatedBackend() override {
    std::lock_guard<std::mutex> lock(library_.m);
    ++library_.ended;
  }
  MediaProperties Open(const Text& path) override {
    std::unique_lock<std::mutex> lock(library_.m);
    ++library_.opens;
    library_.cv.wait(lock, [&] { return !library_.mayFinish || library_.mayFinish(path); });
    library_.finished.push_back(path);
    library_.cv.notify_all();
    auto it = library_.files.find(path);
    return it == library_.files.end() ? MediaProperties{} : it->second;
  }

 private:
  Library& library_;
};

ProbeAhead::BackendFactory FactoryFor(Library& library) {
  return [&library] { return std::make_unique<GatedBackend>(library); };
}

// Media and others mixed: titled and untitled audio, a video, a text file
// the platform opens, and a file it cannot open.
void MixedFolder(Library& lib, Texts& plan) {
  plan = {u"C:\\m\\01.wav", u"C:\\m\\02.txt", u"C:\\m\\03.mp4", u"C:\\m\\04.wav", u"C:\\m\\05.bin",
          u"C:\\m\\06.wav", u"C:\\m\\Sub\\07.wav", u"C:\\m\\08.wav"};
  lib.files[plan[0]] = Audio(u"First");
  lib.files[plan[1]] = OpenedButNoMedia();
  lib.files[plan[2]] = Video();
  lib.files[plan[3]] = Audio(u"");
  lib.files[plan[5]] = Audio(u"Sixth");
  lib.files[plan[6]] = Audio(u"Seventh");
  lib.files[plan[7]] = Audio(u"Eighth");
}

void ExpectSameRows(const MediaList& got, const MediaList& want) {
  ASSERT_EQ(got.Count(), want.Count());
  for (int r = 0; r < got.Count(); ++r) {
    for (int c = 0; c < kColumnCount; ++c) EXPECT_EQ(got.Cell(r, c), want.Cell(r, c)) << "row " << r << " column " << c;
    EXPECT_EQ(got.Entry(r).image, want.Entry(r).image) << "row " << r;
  }
}

MediaList ProbedOneByOne(Library& lib, const Texts& plan) {
  Library plain;
  plain.files = lib.files;
  GatedBackend backend(plain);
  BackendEntryProber prober(backend);
  MediaList list;
  for (const Text& path : plan) AddMediaFile(list, path, &prober);
  return list;
}

// The first file is the last to be probed: its probe finishes only once
// every other file's has. Its row comes first all the same, with or without
// a wait that wakes on each result.
TEST(ProbeAheadAdding, RowsComeInPlanOrderWhateverOrderTheWorkersFinishIn) {
  for (const bool wakeOnResults : {false, true}) {
    SCOPED_TRACE(wakeOnResults ? "waiting woken by each result" : "waiting in the hand-over");
    Texts plan;
    Library lib;
    MixedFolder(lib, plan);
    const Text first = plan.front();
    const size_t count = plan.size();
    lib.mayFinish = [&](const Text& path) { return path != first || lib.finished.size() == count - 1; };
    const MediaList sequential = ProbedOneByOne(lib, plan);

    std::mutex readyMutex;
    std::condition_variable readyCv;
    int results = 0, seen = 0;
    ProbeAhead ahead(plan, FactoryFor(lib), 4, [&] {
      std::lock_guard<std::mutex> lock(readyMutex);
      ++results;
      readyCv.notify_all();
    });
    ASSERT_EQ(ahead.Workers(), 4u);

    MediaList list;
    Texts added;
    PlannedAddCallbacks callbacks;
    callbacks.addMediaFile = [&](const Text& path, EntryProber& prober) {
      added.push_back(path);
      AddMediaFile(list, path, &prober);
    };
    int pumps = 0;
    callbacks.pumpMessages = [&] {
      ++pumps;
      return true;
    };
    if (wakeOnResults) {
      callbacks.awaitResult = [&] {
        std::unique_lock<std::mutex> lock(readyMutex);
        readyCv.wait(lock, [&] { return results != seen; });
        seen = results;
        return true;
      };
    }
    EXPECT_TRUE(AddPlannedFiles(ahead, nullptr, callbacks));

    const Texts finished = lib.Finished();
    ASSERT_EQ(finished.size(), count) << "each file probed once";
    EXPECT_EQ(finished.back(), first) << "the workers finished out of order";
    EXPECT_EQ(added, plan) << "every file offered to the list in plan order";
    EXPECT_EQ(pumps, static_cast<int>(count)) << "messages after each file";
    ExpectSameRows(list, sequential);
    // Only media became rows.
    ASSERT_EQ(list.Count(), 6);
    EXPECT_EQ(list.Cell(0, kColumnTitle), u"First");
    EXPECT_EQ(list.Cell(1, kColumnPath), plan[2]);
    EXPECT_EQ(list.Entry(1).image, kImageVideo);
    EXPECT_EQ(list.Cell(2, kColumnTitle), u"04.wav") << "no title: the file's name";
    EXPECT_EQ(list.Cell(2, kColumnDuration), u"01:05");
    EXPECT_EQ(list.Cell(4, kColumnPath), u"C:\\m\\Sub\\07.wav");
  }
}

// Each worker's backend is made, used and ended on that worker's thread (the
// platform's per-thread set-up lives in it), never on the adding thread.
TEST(ProbeAheadAdding, EachWorkerMakesAndEndsItsOwnBackendOnItsThread) {
  struct Seen {
    std::mutex m;
    std::vector<std::thread::id> made, used, ended;
  } seen;
  class ThreadBackend final : public MediaProbeBackend {
   public:
    explicit ThreadBackend(Seen& s) : s_(s) {
      std::lock_guard<std::mutex> lock(s_.m);
      s_.made.push_back(std::this_thread::get_id());
    }
    ~ThreadBackend() override {
      std::lock_guard<std::mutex> lock(s_.m);
      s_.ended.push_back(std::this_thread::get_id());
    }
    MediaProperties Open(const Text&) override {
      std::lock_guard<std::mutex> lock(s_.m);
      s_.used.push_back(std::this_thread::get_id());
      return Audio(u"t");
    }

   private:
    Seen& s_;
  };
  Texts plan;
  for (int i = 0; i < 40; ++i) plan.push_back(Format(u"C:\\m\\%d.wav", {i}));
  {
    ProbeAhead ahead(plan, [&seen] { return std::make_unique<ThreadBackend>(seen); }, 3);
    MediaList list;
    PlannedAddCallbacks callbacks;
    callbacks.addMediaFile = [&](const Text& path, EntryProber& prober) { AddMediaFile(list, path, &prober); };
    EXPECT_TRUE(AddPlannedFiles(ahead, nullptr, callbacks));
    EXPECT_EQ(list.Count(), 40);
  }
  EXPECT_EQ(seen.made.size(), 3u);
  EXPECT_EQ(seen.used.size(), 40u);
  const std::set<std::thread::id> made(seen.made.begin(), seen.made.end());
  EXPECT_EQ(made.size(), 3u) << "one backend per thread";
  EXPECT_EQ(made.count(std::this_thread::get_id()), 0u);
  EXPECT_EQ(std::set<std::thread::id>(seen.ended.begin(), seen.ended.end()), made);
  for (const std::thread::id& id : seen.used) EXPECT_EQ(made.count(id), 1u);
}

// A quit met after a file, or while a file's result is awaited, stops every
// worker after the probe it is in and adds nothing more.
TEST(ProbeAheadAdding, AStopMidwayEndsEveryWorkerAndAddsNothingMore) {
  enum class StopAt { kAfterThirdFile, kWhileAwaitingThirdFile };
  for (const StopAt stopAt : {StopAt::kAfterThirdFile, StopAt::kWhileAwaitingThirdFile}) {
    SCOPED_TRACE(stopAt == StopAt::kAfterThirdFile ? "after a file" : "while awaiting one");
    Library lib;
    Texts plan;
    for (int i = 0; i < 200; ++i) {
      plan.push_back(Format(u"C:\\m\\%d.wav", {i}));
      lib.files[plan.back()] = Audio(u"");
    }
    // Files from the gate on are held until the stop is requested, so the
    // workers are surely still busy when it comes. Stopping after the third
    // file leaves the third ready; stopping while awaiting it holds it too.
    const size_t gate = stopAt == StopAt::kAfterThirdFile ? 6 : 2;
    lib.mayFinish = [&lib, &plan, gate](const Text& path) {
      for (size_t i = 0; i < gate; ++i)
        if (plan[i] == path) return true;
      return lib.released;
    };
    const unsigned threads = 3;
    ProbeAhead ahead(plan, FactoryFor(lib), threads);
    ASSERT_EQ(ahead.Workers(), threads);
    // The quit: the stop is requested before the held probes may end, as a
    // slow probe ending just after the quit would.
    const auto quit = [&] {
      ahead.RequestStop();
      lib.Release();
      return false;
    };
    MediaList list;
    PlannedAddCallbacks callbacks;
    callbacks.addMediaFile = [&](const Text& path, EntryProber& prober) { AddMediaFile(list, path, &prober); };
    int pumps = 0;
    callbacks.pumpMessages = [&] { return ++pumps < 3 ? true : quit(); };
    if (stopAt == StopAt::kWhileAwaitingThirdFile) {
      callbacks.awaitResult = [&] {
        // The files before the gate come; the third is held.
        if (list.Count() < 2) {
          lib.WaitFinished(plan[static_cast<size_t>(list.Count())]);
          return true;
        }
        return quit();
      };
    }

    EXPECT_FALSE(AddPlannedFiles(ahead, nullptr, callbacks));
    EXPECT_EQ(lib.Ended(), static_cast<int>(threads)) << "every worker has ended when the adding returns";
    EXPECT_EQ(list.Count(), stopAt == StopAt::kAfterThirdFile ? 3 : 2) << "nothing added after the quit";
    EXPECT_LE(lib.Opens(), static_cast<int>(gate + threads)) << "each worker ended after the probe it was in";
  }
}

class CountingProber final : public EntryProber {
 public:
  bool Probe(const Text& path, ProbedFile& out) override {
    probed.push_back(path);
    out = ProbedFile{};
    out.isMedia = true;
    out.title = u"on the spot";
    out.duration = u"00:02";
    return true;
  }
  Texts probed;
};

TEST(ProbeAheadAdding, APathNotPlannedOrAlreadyHandedOverIsProbedOnTheSpot) {
  Library lib;
  const Texts plan = {u"C:\\m\\a.wav", u"C:\\m\\b.wav", u"C:\\m\\a.wav"};
  lib.files[plan[0]] = Audio(u"ahead");
  lib.files[plan[1]] = Audio(u"ahead");
  ProbeAhead ahead(plan, FactoryFor(lib), 2);
  CountingProber spot;
  ProbeAheadProber prober(ahead, &spot);
  ProbedFile out;

  EXPECT_TRUE(prober.Probe(u"C:\\m\\other.wav", out));
  EXPECT_EQ(out.title, u"on the spot");
  // A planned path: the workers' result, the same path twice: two results.
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(prober.Probe(plan[0], out));
    EXPECT_EQ(out.title, u"ahead");
  }
  EXPECT_TRUE(prober.Probe(plan[0], out)) << "both of its plan entries are used";
  EXPECT_EQ(out.title, u"on the spot");
  EXPECT_EQ(spot.probed, (Texts{u"C:\\m\\other.wav", plan[0]}));

  // Without a prober on the spot an unplanned path is no media.
  ProbeAheadProber noSpot(ahead, nullptr);
  EXPECT_FALSE(noSpot.Probe(u"C:\\m\\other.wav", out));
}

// Workers that cannot make a backend (or are never started) leave every file
// to the prober on the spot; the adding neither hangs nor loses a file.
TEST(ProbeAheadAdding, WithoutWorkingWorkersEveryFileIsProbedOnTheSpot) {
  const Texts plan = {u"C:\\m\\1.wav", u"C:\\m\\2.wav", u"C:\\m\\3.wav"};
  struct Case {
    const char* name;
    ProbeAhead::BackendFactory factory;
  };
  const Case cases[] = {
      {"no backend", [] { return std::unique_ptr<MediaProbeBackend>(); }},
      {"the factory throws", []() -> std::unique_ptr<MediaProbeBackend> { throw std::runtime_error("no COM"); }},
      {"no factory", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProbeAhead ahead(plan, c.factory, 2);
    CountingProber spot;
    MediaList list;
    PlannedAddCallbacks callbacks;
    callbacks.addMediaFile = [&](const Text& path, EntryProber& prober) { AddMediaFile(list, path, &prober); };
    callbacks.awaitResult = [] { return true; };  // returns at once: must not spin once no worker is left
    EXPECT_TRUE(AddPlannedFiles(ahead, &spot, callbacks));
    EXPECT_EQ(spot.probed, plan);
    EXPECT_EQ(list.Count(), 3);
  }
}

// A probe that throws on a worker is left to the adding thread, which probes
// that file itself, as it would without workers.
TEST(ProbeAheadAdding, AProbeThatThrowsOnAWorkerIsRepeatedOnTheSpot) {
  class ThrowingBackend final : public MediaProbeBackend {
   public:
    MediaProperties Open(const Text& path) override {
      if (path == u"C:\\m\\bad.wav") throw std::runtime_error("read failed");
      return Audio(u"ahead");
    }
  };
  const Texts plan = {u"C:\\m\\1.wav", u"C:\\m\\bad.wav", u"C:\\m\\3.wav"};
  ProbeAhead ahead(plan, [] { return std::make_unique<ThrowingBackend>(); }, 2);
  CountingProber spot;
  MediaList list;
  PlannedAddCallbacks callbacks;
  callbacks.addMediaFile = [&](const Text& path, EntryProber& prober) { AddMediaFile(list, path, &prober); };
  EXPECT_TRUE(AddPlannedFiles(ahead, &spot, callbacks));
  EXPECT_EQ(spot.probed, Texts{u"C:\\m\\bad.wav"});
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Cell(0, kColumnTitle), u"ahead");
  EXPECT_EQ(list.Cell(1, kColumnTitle), u"on the spot");
  EXPECT_EQ(list.Cell(2, kColumnTitle), u"ahead");
}

TEST(ProbeAheadAdding, OneWorkerPerCoreAtLeastOneAtMostFour) {
  const std::pair<unsigned, unsigned> cases[] = {{0, 1}, {1, 1}, {2, 2}, {4, 4}, {16, 4}};
  for (const auto& [cores, workers] : cases) EXPECT_EQ(ProbeAheadThreads(cores), workers) << cores;
}

// ---- the plan of a folder scan ----

struct Folders final : DirectoryLister {
  std::map<Text, std::vector<DirectoryEntry>> listings;  // pattern -> entries
  struct Search final : DirectorySearch {
    std::vector<DirectoryEntry> entries;
    size_t next = 0;
    bool Next(DirectoryEntry& entry) override {
      if (next >= entries.size()) return false;
      entry = entries[next++];
      return true;
    }
  };
  std::unique_ptr<DirectorySearch> Find(const Text& pattern) override {
    auto it = listings.find(pattern);
    if (it == listings.end()) return nullptr;
    auto s = std::make_unique<Search>();
    s->entries = it->second;
    return s;
  }
};

TEST(ProbeAheadPlan, AFolderPlanIsTheScansOrderOfFiles) {
  Folders fs;
  fs.listings[u"C:\\M\\*.*"] = {{u".", true}, {u"..", true}, {u"1.mp3", false}, {u"Sub", true}, {u"..x", false}};
  fs.listings[u"C:\\M\\Sub\\*.*"] = {{u"s.mp3", false}, {u"Deep", true}, {u"t.mp3", false}};
  fs.listings[u"C:\\M\\Sub\\Deep\\*.*"] = {{u"d.mp3", false}};
  Texts scanned;
  ScanFolder(u"C:\\M", fs, {[&](const Text& p) { scanned.push_back(p); }, nullptr});
  const FolderPlan plan = PlanFolderScan(u"C:\\M", fs);
  EXPECT_TRUE(plan.finished);
  EXPECT_EQ(plan.files, scanned);
  EXPECT_EQ(plan.files, (Texts{u"C:\\M\\1.mp3", u"C:\\M\\Sub\\s.mp3", u"C:\\M\\Sub\\Deep\\d.mp3", u"C:\\M\\Sub\\t.mp3",
                               u"C:\\M\\..x"}));
}

TEST(ProbeAheadPlan, ALongListingPumpsAndAQuitAbandonsThePlan) {
  Folders fs;
  std::vector<DirectoryEntry>& entries = fs.listings[u"C:\\Big\\*.*"];
  for (size_t i = 0; i < kPlanPumpEvery * 3 + 5; ++i)
    entries.push_back({Format(u"%d.wav", {static_cast<int>(i)}), false});

  int pumps = 0;
  const FolderPlan all = PlanFolderScan(u"C:\\Big", fs, [&] {
    ++pumps;
    return true;
  });
  EXPECT_TRUE(all.finished);
  EXPECT_EQ(all.files.size(), entries.size());
  EXPECT_EQ(pumps, 3);

  const FolderPlan quit = PlanFolderScan(u"C:\\Big", fs, [] { return false; });
  EXPECT_FALSE(quit.finished);
}

}  // namespace
}  // namespace sorvane
