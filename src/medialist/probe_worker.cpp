#include "medialist/probe_worker.h"

#include <chrono>
#include <system_error>

namespace sorvane {
namespace {

class Batcher {
 public:
  Batcher(ProbeSink& sink, uint64_t generation, const ProbeSeams& seams)
      : sink_(sink), generation_(generation), seams_(seams) {}

  void AddRow(ProbeRowResult row) {
    if (!batch_) Begin();
    batch_->rows.push_back(std::move(row));
    if (batch_->rows.size() >= kProbeBatchRows || (seams_.nowMs && seams_.nowMs() - startedMs_ >= kProbeFlushMs)) {
      Flush();
    }
  }
  // A status change goes out at once with the rows before it.
  void Status(Text text) {
    if (!batch_) Begin();
    batch_->hasStatus = true;
    batch_->status = std::move(text);
    Flush();
  }
  void Flush() {
    if (batch_) sink_.Deliver(std::move(batch_));
    batch_.reset();
  }
  void Drop() { batch_.reset(); }

 private:
  void Begin() {
    batch_ = std::make_unique<ProbeBatch>();
    batch_->generation = generation_;
    startedMs_ = seams_.nowMs ? seams_.nowMs() : 0;
  }
  ProbeSink& sink_;
  uint64_t generation_;
  const ProbeSeams& seams_;
  std::unique_ptr<ProbeBatch> batch_;
  uint64_t startedMs_ = 0;
};

}  // namespace

void RunProbe(const ProbeJob& job, uint64_t generation, MediaProbeBackend& backend, ProbeSink& sink,
              const std::atomic<bool>& stop, const ProbeSeams& seams) {
  const int count = static_cast<int>(job.paths.size());
  Text text = job.texts.tip;
  ReplaceAll(text, u"&", u"&&");  // a static control would take a single "&" as a mnemonic
  int failed = 0;
  Batcher out(sink, generation, seams);

  for (int i = 0; i < count; ++i) {
    if (stop.load()) {
      out.Drop();  // results of a stopped job belong to a list that is gone
      return;
    }
    ProbeRowResult row;
    row.index = i;
    row.path = job.paths[i];
    MediaProbe probe = MediaProbe::Open(backend, row.path);
    if (probe.Opened() && probe.IsMedia()) {
      row.media = true;
      row.video = probe.IsVideo();
      row.title = probe.Title();
      row.duration = probe.DurationText();
      out.AddRow(std::move(row));
      if (i % kProbeProgressEvery == 0) {
        out.Status(Format(u"%s %d/%d", {TextView(job.texts.checking), i + 1, count}));
      }
    } else {
      ++failed;
      out.AddRow(std::move(row));
    }
  }
  out.Flush();

  if (count > 0) text = Format(u"%s %d / %d", {TextView(job.texts.checkedErrors), failed, count});
  for (int blink = 0; blink < kProbeBlinks; ++blink) {
    out.Status(text);
    seams.sleep(kProbeBlinkMs);
    if (stop.load()) return;
    out.Status(Text());
    seams.sleep(kProbeBlinkMs);
    if (stop.load()) return;
  }
  out.Status(count > 0 ? Text() : text);
}

int ApplyProbeBatch(const ProbeBatch& batch, uint64_t currentGeneration, MediaRows& rows,
                    const std::function<void(TextView)>& setStatus) {
  ProbeApplier applier;
  return applier.Apply(batch, currentGeneration, rows, setStatus);
}

int ProbeApplier::FindRow(MediaRows& rows, int count, const ProbeRowResult& r) {
  if (r.index >= 0 && r.index < count && rows.GetText(r.index, kColumnPath) == r.path) return r.index;
  for (;;) {
    auto it = index_.find(r.path);
    if (it != index_.end() && it->second < count && rows.GetText(it->second, kColumnPath) == r.path) return it->second;
    // A removed row stays missing: rebuild at most once per batch.
    if (rebuiltThisBatch_) return -1;
    rebuiltThisBatch_ = true;
    index_.clear();
    index_.reserve(static_cast<size_t>(count));
    for (int j = 0; j < count; ++j) index_.emplace(rows.GetText(j, kColumnPath), j);
  }
}

int ProbeApplier::Apply(const ProbeBatch& batch, uint64_t currentGeneration, MediaRows& rows,
                        const std::function<void(TextView)>& setStatus) {
  if (batch.generation != currentGeneration) return 0;
  rebuiltThisBatch_ = false;
  int changed = 0;
  const int count = rows.Count();
  for (const ProbeRowResult& r : batch.rows) {
    const int row = FindRow(rows, count, r);
    if (row < 0) continue;
    if (r.media) {
      rows.SetColumnImage(row, kColumnDuration, -1);
      if (!r.title.empty()) rows.SetText(row, kColumnTitle, r.title);
      rows.SetText(row, kColumnDuration, r.duration);
      rows.SetItemImage(row, r.video ? kImageVideo : kImageAudio);
    } else {
      MarkFailed(rows, row);
    }
    ++changed;
  }
  if (batch.hasStatus && setStatus) setStatus(batch.status);
  return changed;
}

ProbeWorker::ProbeWorker(BackendFactory factory, ProbeSink& sink) : factory_(std::move(factory)), sink_(sink) {}

ProbeWorker::~ProbeWorker() { StopProbe(); }

int ProbeWorker::StartProbe(ProbeJob job) {
  StopProbe();
  stop_ = false;
  const uint64_t generation = ++generation_;
  try {
    thread_ = std::thread([this, job = std::move(job), generation]() noexcept {
      // A thread entry: anything thrown below would end the process. A probe
      // that fails this way just ends; the rows keep what they had.
      try {
        std::unique_ptr<MediaProbeBackend> backend = factory_();
        if (!backend) return;
        ProbeSeams seams;
        seams.sleep = [this](int ms) { InterruptibleSleep(ms); };
        seams.nowMs = [] {
          return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                           std::chrono::steady_clock::now().time_since_epoch())
                                           .count());
        };
        RunProbe(job, generation, *backend, sink_, stop_, seams);
      } catch (...) {
      }
    });
  } catch (const std::system_error&) {
    return -1;
  }
  running_ = true;
  return 0;
}

void ProbeWorker::StopProbe() {
  if (!running_ || !thread_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(wakeMutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
  running_ = false;
  stop_ = false;
}

void ProbeWorker::InterruptibleSleep(int ms) {
  if (testSleep_) {
    testSleep_(ms);
    return;
  }
  if (stretchedWaitMs_ > 0) ms = stretchedWaitMs_;
  std::unique_lock<std::mutex> lock(wakeMutex_);
  wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop_.load(); });
}

}  // namespace sorvane
