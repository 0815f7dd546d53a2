#include "medialist/probe_ahead.h"

#include <algorithm>
#include <system_error>

#include "medialist/media_list_rows.h"

namespace sorvane {

unsigned ProbeAheadThreads(unsigned hardwareThreads) {
  return std::clamp(hardwareThreads, 1u, kMaxProbeAheadThreads);
}

FolderPlan PlanFolderScan(const Text& folder, DirectoryLister& lister, const std::function<bool()>& pump) {
  FolderPlan plan;
  ScanCallbacks collect;
  collect.addMediaFile = [&plan](const Text& path) { plan.files.push_back(path); };
  if (pump) {
    collect.pumpMessages = [&plan, &pump] { return plan.files.size() % kPlanPumpEvery != 0 || pump(); };
  }
  plan.finished = ScanFolder(folder, lister, collect);
  return plan;
}

ProbeAhead::ProbeAhead(std::vector<Text> plan, BackendFactory factory, unsigned threads,
                       std::function<void()> resultReady)
    : plan_(std::move(plan)), factory_(std::move(factory)), resultReady_(std::move(resultReady)) {
  slots_.resize(plan_.size());
  if (plan_.empty() || !factory_) return;
  const size_t wanted = std::min<size_t>(std::max(threads, 1u), plan_.size());
  threads_.reserve(wanted);
  for (size_t i = 0; i < wanted; ++i) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++running_;
    }
    try {
      threads_.emplace_back([this]() noexcept { Work(); });
    } catch (const std::system_error&) {
      // Fewer workers, or none: what they leave is probed on the spot.
      std::lock_guard<std::mutex> lock(mutex_);
      --running_;
      break;
    }
  }
}

ProbeAhead::~ProbeAhead() { Stop(); }

void ProbeAhead::Work() {
  std::unique_ptr<MediaProbeBackend> backend;
  try {
    backend = factory_();
  } catch (...) {
  }
  if (backend) {
    BackendEntryProber prober(*backend);
    for (;;) {
      if (stop_.load()) break;
      const size_t index = next_.fetch_add(1);
      if (index >= plan_.size()) break;
      Slot done;
      try {
        done.isMedia = prober.Probe(plan_[index], done.result);
        done.state = SlotState::kDone;
      } catch (...) {
        // The adding probes this one itself, as it would without workers.
        done.state = SlotState::kUnavailable;
      }
      {
        std::lock_guard<std::mutex> lock(mutex_);
        slots_[index] = std::move(done);
      }
      changed_.notify_all();
      if (resultReady_) resultReady_();
    }
  }
  // The backend belongs to this thread and ends here.
  backend.reset();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    --running_;
  }
  changed_.notify_all();
  if (resultReady_) resultReady_();
}

bool ProbeAhead::SettledLocked(size_t index) const {
  return index >= slots_.size() || slots_[index].state != SlotState::kWaiting || running_ == 0;
}

bool ProbeAhead::Settled(size_t index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return SettledLocked(index);
}

bool ProbeAhead::Take(size_t index, bool& isMedia, ProbedFile& out) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [&] { return SettledLocked(index); });
  if (index >= slots_.size() || slots_[index].state != SlotState::kDone) return false;
  Slot& slot = slots_[index];
  isMedia = slot.isMedia;
  out = std::move(slot.result);
  slot.state = SlotState::kTaken;
  return true;
}

void ProbeAhead::Stop() {
  RequestStop();
  for (std::thread& t : threads_) {
    if (t.joinable()) t.join();
  }
}

ProbeAheadProber::ProbeAheadProber(ProbeAhead& ahead, EntryProber* onTheSpot) : ahead_(ahead), onTheSpot_(onTheSpot) {
  const std::vector<Text>& plan = ahead_.Plan();
  entries_.reserve(plan.size());
  for (size_t i = 0; i < plan.size(); ++i) entries_[plan[i]].push_back(i);
}

bool ProbeAheadProber::Probe(const Text& path, ProbedFile& out) {
  auto it = entries_.find(path);
  if (it != entries_.end()) {
    size_t& used = handedOver_[path];
    if (used < it->second.size()) {
      const size_t index = it->second[used++];
      bool isMedia = false;
      ProbedFile probed;
      if (ahead_.Take(index, isMedia, probed)) {
        out = std::move(probed);
        return isMedia;
      }
    }
  }
  if (!onTheSpot_) {
    out = ProbedFile{};
    return false;
  }
  return onTheSpot_->Probe(path, out);
}

bool AddPlannedFiles(ProbeAhead& ahead, EntryProber* onTheSpot, const PlannedAddCallbacks& callbacks) {
  ProbeAheadProber prober(ahead, onTheSpot);
  const std::vector<Text>& plan = ahead.Plan();
  for (size_t i = 0; i < plan.size(); ++i) {
    if (callbacks.awaitResult) {
      while (!ahead.Settled(i)) {
        if (!callbacks.awaitResult()) {
          ahead.Stop();
          return false;
        }
      }
    }
    if (callbacks.addMediaFile) callbacks.addMediaFile(plan[i], prober);
    if (callbacks.pumpMessages && !callbacks.pumpMessages()) {
      ahead.Stop();
      return false;
    }
  }
  return true;
}

}  // namespace sorvane
