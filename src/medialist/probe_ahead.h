// Probing the files of one addition ahead of adding them. Reading a file's
// properties is the slow part of adding it; the files to add are known
// before the first is added, so worker threads probe them while the
// user-interface thread still adds one file after the other in its own order,
// taking each file's result when its turn comes.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "framework/text.h"
#include "medialist/entry_prober.h"
#include "medialist/folder_scan.h"
#include "medialist/media_probe.h"

namespace sorvane {

// Worker threads per addition: one per core, at most this many (each holds
// its own platform probe and file handles).
inline constexpr unsigned kMaxProbeAheadThreads = 4;
// hardwareThreads as std::thread::hardware_concurrency() reports it (0: unknown).
unsigned ProbeAheadThreads(unsigned hardwareThreads);

// While a large tree is listed, the window gets its messages after this many files.
inline constexpr size_t kPlanPumpEvery = 256;

// The files a folder scan adds, in the order it adds them (depth first, a
// subfolder where its entry comes up). pump keeps the window alive during a
// long listing; when it answers false (the program is quitting) the plan is
// abandoned and finished is false.
struct FolderPlan {
  std::vector<Text> files;
  bool finished = true;
};
FolderPlan PlanFolderScan(const Text& folder, DirectoryLister& lister, const std::function<bool()>& pump = nullptr);

// The workers over one plan. Each worker makes its own backend on its own
// thread (and destroys it there), then takes the next unprobed file in plan
// order, so the files the adding needs next are probed first.
class ProbeAhead {
 public:
  using BackendFactory = std::function<std::unique_ptr<MediaProbeBackend>()>;

  // Starts up to threads workers (at least one) over plan. resultReady runs on
  // a worker thread after each result is stored: the adding side may wake on
  // it; it must not wait for that side.
  ProbeAhead(std::vector<Text> plan, BackendFactory factory, unsigned threads,
             std::function<void()> resultReady = nullptr);
  ~ProbeAhead();
  ProbeAhead(const ProbeAhead&) = delete;
  ProbeAhead& operator=(const ProbeAhead&) = delete;

  const std::vector<Text>& Plan() const { return plan_; }
  // Workers that were started (0 when no thread could be made).
  size_t Workers() const { return threads_.size(); }

  // The result for plan entry index is there, or will never come from a worker
  // (no worker is left, or its probe failed unexpectedly): Take answers at once.
  bool Settled(size_t index) const;
  // Waits for plan entry index and hands its result over once. False when no
  // worker could give it (or it was taken already): the caller probes on the spot.
  bool Take(size_t index, bool& isMedia, ProbedFile& out);

  // Every worker ends after the probe it is in; nothing is probed afterwards.
  void RequestStop() { stop_ = true; }
  // RequestStop, then returns when every worker has ended.
  void Stop();

 private:
  enum class SlotState : unsigned char { kWaiting, kDone, kUnavailable, kTaken };
  struct Slot {
    SlotState state = SlotState::kWaiting;
    bool isMedia = false;
    ProbedFile result;
  };
  void Work();
  bool SettledLocked(size_t index) const;

  const std::vector<Text> plan_;
  BackendFactory factory_;
  std::function<void()> resultReady_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Slot> slots_;      // guarded by mutex_
  size_t running_ = 0;           // workers not yet ended; guarded by mutex_
  std::atomic<size_t> next_{0};  // the next plan entry a worker takes
  std::atomic<bool> stop_{false};
  std::vector<std::thread> threads_;
};

// The prober the adding uses while a probe-ahead runs: a planned path gets
// the workers' result (the earliest of its plan entries not handed over yet),
// any other path, and one the workers could not probe, is probed on the spot.
class ProbeAheadProber final : public EntryProber {
 public:
  // onTheSpot may be null: a path it would be needed for then is no media.
  ProbeAheadProber(ProbeAhead& ahead, EntryProber* onTheSpot);
  bool Probe(const Text& path, ProbedFile& out) override;

 private:
  ProbeAhead& ahead_;
  EntryProber* onTheSpot_;
  std::unordered_map<Text, std::vector<size_t>> entries_;  // path -> plan entries, ascending
  std::unordered_map<Text, size_t> handedOver_;            // path -> entries of it used
};

struct PlannedAddCallbacks {
  // Adds one file with probing through prober (the list's own rules decide).
  std::function<void(const Text& path, EntryProber& prober)> addMediaFile;
  // Runs after each file; false ends the adding (the program is quitting).
  std::function<bool()> pumpMessages;
  // The next file's result is not there yet: returns once some result may
  // have come, keeping the window alive meanwhile; false ends the adding.
  // Empty: the adding just waits for that one file.
  std::function<bool()> awaitResult;
};

// Adds every planned file in plan order, each with the workers' result.
// Returns false when a callback ended the adding: the workers are then
// stopped and nothing more is added.
bool AddPlannedFiles(ProbeAhead& ahead, EntryProber* onTheSpot, const PlannedAddCallbacks& callbacks);

}  // namespace sorvane
