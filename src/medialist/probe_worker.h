// The background probe of a freshly loaded list. The worker thread never waits
// on the user-interface thread: it hands batches of results (each with the
// row's path as its identity) to a sink, and the user-interface thread applies
// them to the rows wherever they stand by then.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "framework/text.h"
#include "medialist/media_probe.h"
#include "medialist/media_rows.h"

namespace sorvane {

// The language strings the worker shows (ids 125, 177, 178), looked up by the
// caller on the user-interface thread.
struct ProbeTexts {
  Text tip;            // "Tip: Add Files via Drag and Drop"
  Text checking;       // "Checking media..."
  Text checkedErrors;  // "Media checked. Errors:"
};

struct ProbeJob {
  std::vector<Text> paths;  // column 1 of every row when the worker started, in row order
  ProbeTexts texts;
};

struct ProbeRowResult {
  int index = 0;  // the row's index when the worker started: a hint only
  Text path;      // the row's identity
  bool media = false;
  bool video = false;
  Text title;
  Text duration;
};

struct ProbeBatch {
  uint64_t generation = 0;
  std::vector<ProbeRowResult> rows;
  bool hasStatus = false;  // status is applied after the rows
  Text status;
};

class ProbeSink {
 public:
  virtual ~ProbeSink() = default;
  // Called on the worker thread; must not wait for the user-interface thread.
  virtual void Deliver(std::unique_ptr<ProbeBatch> batch) = 0;
};

struct ProbeSeams {
  std::function<void(int ms)> sleep;     // the blink's waits
  std::function<uint64_t()> nowMs;       // for flushing results of slow probes
};

inline constexpr int kProbeProgressEvery = 27;
inline constexpr size_t kProbeBatchRows = 64;
inline constexpr uint64_t kProbeFlushMs = 100;
inline constexpr int kProbeBlinks = 6;
inline constexpr int kProbeBlinkMs = 250;

// The worker's loop over one job. Returns when done or when stop is seen.
void RunProbe(const ProbeJob& job, uint64_t generation, MediaProbeBackend& backend, ProbeSink& sink,
              const std::atomic<bool>& stop, const ProbeSeams& seams);

// Applies one batch on the user-interface thread. A batch of another
// generation (an earlier list) is dropped. Each result goes to the row whose
// path it carries: the row at its old index when the path still matches,
// otherwise the first row with that path; a row no longer in the list is
// skipped. Returns the number of rows changed.
int ApplyProbeBatch(const ProbeBatch& batch, uint64_t currentGeneration, MediaRows& rows,
                    const std::function<void(TextView)>& setStatus);

// The same rule with a path index kept between batches, so that results for
// rows that moved cost a lookup instead of a scan of the list. An index entry
// is checked against the row before use; a stale index is rebuilt at most
// once per batch.
class ProbeApplier {
 public:
  int Apply(const ProbeBatch& batch, uint64_t currentGeneration, MediaRows& rows,
            const std::function<void(TextView)>& setStatus);

 private:
  int FindRow(MediaRows& rows, int count, const ProbeRowResult& r);
  std::unordered_map<Text, int> index_;
  bool rebuiltThisBatch_ = false;
};

// Owns the worker thread. StartProbe and StopProbe run on the user-interface thread.
class ProbeWorker {
 public:
  // Called on the worker thread at its start; the backend is destroyed on that
  // thread too, so it may hold per-thread platform state.
  using BackendFactory = std::function<std::unique_ptr<MediaProbeBackend>()>;

  ProbeWorker(BackendFactory factory, ProbeSink& sink);
  ~ProbeWorker();
  ProbeWorker(const ProbeWorker&) = delete;
  ProbeWorker& operator=(const ProbeWorker&) = delete;

  // Stops any running worker, then starts one over job. 0, or -1 when no thread could be created.
  int StartProbe(ProbeJob job);
  // Requests the stop and waits for the thread's end; the wait is short
  // because the worker never waits on this thread and its blink wakes on stop.
  void StopProbe();
  bool Running() const { return running_; }
  // The generation of the newest job; batches of older jobs are stale.
  uint64_t Generation() const { return generation_; }
  // Replaces the blink's wait (tests).
  void SetSleepForTesting(std::function<void(int)> sleep) { testSleep_ = std::move(sleep); }
  // Makes every wait of the blink last ms (tests: a wait that only a stop can end).
  void StretchWaitsForTesting(int ms) { stretchedWaitMs_ = ms; }

 private:
  void InterruptibleSleep(int ms);

  BackendFactory factory_;
  ProbeSink& sink_;
  std::thread thread_;
  bool running_ = false;
  uint64_t generation_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex wakeMutex_;
  std::condition_variable wake_;
  std::function<void(int)> testSleep_;
  int stretchedWaitMs_ = 0;
};

}  // namespace sorvane
