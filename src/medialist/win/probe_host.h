// The background probe as the main window runs it: the worker thread with the
// system backend, posting each batch of results to the window.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "medialist/probe_worker.h"

namespace sorvane::win {

// Posted to the target window; lParam is a ProbeBatch* that the receiver owns
// (take it with TakeProbeBatch, which frees it).
inline constexpr UINT kProbeResultMessage = WM_APP + 0x130;

std::unique_ptr<ProbeBatch> TakeProbeBatch(LPARAM lParam);

// Hands batches over with PostMessage; the worker never waits for the window.
// A batch that cannot be posted (window gone, queue full) is freed here.
class PostingProbeSink : public ProbeSink {
 public:
  explicit PostingProbeSink(HWND target) : target_(target) {}
  void Deliver(std::unique_ptr<ProbeBatch> batch) override;
  int Failed() const { return failed_.load(); }

 private:
  HWND target_;
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

  // The handler of kProbeResultMessage: applies the batch to the rows (a batch
  // of an earlier list is dropped) and shows its status text. Returns the rows changed.
  int OnProbeResult(LPARAM lParam, MediaRows& rows, const std::function<void(TextView)>& setStatus);

  ProbeWorker& Worker() { return worker_; }

 private:
  HWND target_;
  PostingProbeSink sink_;
  ProbeWorker worker_;
  ProbeApplier applier_;
};

}  // namespace sorvane::win
