#include "medialist/win/probe_host.h"

#include <utility>

#include "medialist/win/system_probe.h"

namespace sorvane::win {

void PostingProbeSink::Deliver(std::unique_ptr<ProbeBatch> batch) {
  std::lock_guard<std::mutex> lock(mutex_);
  waiting_.push_back(std::move(batch));
  if (posted_) return;
  // A post that fails (the window going away) leaves the batches waiting for
  // the next delivery's post, or for StopProbe to free them.
  posted_ = PostMessageW(target_, kProbeResultMessage, 0, 0) != FALSE;
  if (!posted_) ++failed_;
}

std::vector<std::unique_ptr<ProbeBatch>> PostingProbeSink::TakeAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  posted_ = false;
  return std::exchange(waiting_, {});
}

ProbeHost::ProbeHost(HWND target, ProbeWorker::BackendFactory makeBackend)
    : target_(target),
      sink_(target),
      worker_(makeBackend ? std::move(makeBackend)
                          : ProbeWorker::BackendFactory([] { return std::make_unique<SystemProbeBackend>(true); }),
              sink_) {}

int ProbeHost::StartProbe(ProbeJob job) {
  StopProbe();
  return worker_.StartProbe(std::move(job));
}

void ProbeHost::StopProbe() {
  worker_.StopProbe();
  // Batches still waiting belong to the stopped job; the worker has ended, so no more arrive.
  sink_.TakeAll();
  MSG msg;
  while (PeekMessageW(&msg, target_, kProbeResultMessage, kProbeResultMessage, PM_REMOVE)) {
  }
}

int ProbeHost::OnProbeResult(MediaRows& rows, const std::function<void(TextView)>& setStatus) {
  int changed = 0;
  for (const auto& batch : sink_.TakeAll()) changed += applier_.Apply(*batch, worker_.Generation(), rows, setStatus);
  return changed;
}

}  // namespace sorvane::win
