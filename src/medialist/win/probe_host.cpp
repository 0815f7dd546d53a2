#include "medialist/win/probe_host.h"

#include "medialist/win/system_probe.h"

namespace sorvane::win {

std::unique_ptr<ProbeBatch> TakeProbeBatch(LPARAM lParam) {
  return std::unique_ptr<ProbeBatch>(reinterpret_cast<ProbeBatch*>(lParam));
}

void PostingProbeSink::Deliver(std::unique_ptr<ProbeBatch> batch) {
  ProbeBatch* raw = batch.release();
  if (!PostMessageW(target_, kProbeResultMessage, 0, reinterpret_cast<LPARAM>(raw))) {
    delete raw;
    ++failed_;
  }
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
  // Batches still queued belong to the stopped job; the worker has ended, so no more arrive.
  MSG msg;
  while (PeekMessageW(&msg, target_, kProbeResultMessage, kProbeResultMessage, PM_REMOVE)) {
    TakeProbeBatch(msg.lParam);
  }
}

int ProbeHost::OnProbeResult(LPARAM lParam, MediaRows& rows, const std::function<void(TextView)>& setStatus) {
  std::unique_ptr<ProbeBatch> batch = TakeProbeBatch(lParam);
  if (!batch) return 0;
  return applier_.Apply(*batch, worker_.Generation(), rows, setStatus);
}

}  // namespace sorvane::win
