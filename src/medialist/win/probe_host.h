// The background probe as the main window runs it: the worker thread with the
// system backend, posting each batch of results to the window.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "medialist/probe_worker.h"

namespace sorvane::win {

// Posted to the target window when results wait; the parameters carry nothing.
inline constexpr UINT kProbeResultMessage = WM_APP + 0x130;

// Queues the worker's batches and posts one message while any wait: a list of
// 100,000 rows makes some 1,600 batches, and one message each would fill the
// window's queue (whose size the system limits) and put the user's own
// commands, a close among them, behind all of them. The worker never waits
// for the window.
class PostingProbeSink : public ProbeSink {
 public:
  explicit PostingProbeSink(HWND target) : target_(target) {}
  void Deliver(std::unique_ptr<ProbeBatch> batch) override;
  // The batches waiting, in their order; the next delivery posts again.
  std::vector<std::unique_ptr<ProbeBatch>> TakeAll();
  int Failed() const { return failed_.load(); }

 private:
  HWND target_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<ProbeBatch>> waiting_;  // guarded by mutex_
  bool posted_ = false;                               // guarded by mutex_
  std::atomic<int> failed_{0};  // posts that failed; written by the worker thread
};

class ProbeHost {
 public:
  // target: the window that receives kProbeResultMessage. makeBackend runs on
  // the worker thread; empty means the system backend with COM for that thread.
  explicit ProbeHost(HWND target, ProbeWorker::BackendFactory makeBackend = {});
  ~ProbeHost() { StopProbe(); }
  ProbeHost(const ProbeHost&) = delete;
  ProbeHost& operator=(const ProbeHost&) = delete;

  // 0, or -1 when the thread could not be created (the list stays unprobed).
  int StartProbe(ProbeJob job);
  // Stops and awaits the worker, then frees the batches it left in the queue.
  void StopProbe();
  bool Running() const { return worker_.Running(); }

  // The handler of kProbeResultMessage: applies the waiting batches in their
  // order to the rows (a batch of an earlier list is dropped) and shows their
  // status texts. Returns the rows changed.
  int OnProbeResult(MediaRows& rows, const std::function<void(TextView)>& setStatus);

  ProbeWorker& Worker() { return worker_; }

 private:
  HWND target_;
  PostingProbeSink sink_;
  ProbeWorker worker_;
  ProbeApplier applier_;
};

}  // namespace sorvane::win
