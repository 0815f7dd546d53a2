#include "medialist/probe_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>

#include "fake_media_rows.h"

namespace sorvane {
namespace {

using testing::FakeBackend;
using testing::FakeRows;

const ProbeTexts kTexts{u"Tip: Add Files via Drag & Drop", u"Checking media...", u"Media checked. Errors:"};

class CollectingSink : public ProbeSink {
 public:
  void Deliver(std::unique_ptr<ProbeBatch> batch) override {
    std::lock_guard<std::mutex> lock(m);
    batches.push_back(std::move(batch));
  }
  // Every status text in order.
  std::vector<Text> Statuses() {
    std::vector<Text> out;
    for (auto& b : batches)
      if (b->hasStatus) out.push_back(b->status);
    return out;
  }
  size_t RowCount() {
    size_t n = 0;
    for (auto& b : batches) n += b->rows.size();
    return n;
  }
  std::mutex m;
  std::vector<std::unique_ptr<ProbeBatch>> batches;
};

std::vector<Text> Paths(int n) {
  std::vector<Text> p;
  for (int i = 0; i < n; ++i) p.push_back(Format(u"C:\\m\\%d.mp3", {i}));
  return p;
}

struct ProbeRun {
  CollectingSink sink;
  int sleeps = 0;
  void Go(const std::vector<Text>& paths, FakeBackend& backend, const std::atomic<bool>& stop, uint64_t gen = 1) {
    ProbeSeams seams;
    seams.sleep = [this](int ms) {
      EXPECT_EQ(ms, 250);
      ++sleeps;
    };
    RunProbe(ProbeJob{paths, kTexts}, gen, backend, sink, stop, seams);
  }
};

TEST(ProbeWorkerLoop, ProgressEvery27thMediaRowThenSixBlinksAndEmptyEnd) {
  FakeBackend backend;
  auto paths = Paths(28);
  for (auto& p : paths) backend.files[p] = FakeBackend::Audio(5);
  std::atomic<bool> stop{false};
  ProbeRun run;
  run.Go(paths, backend, stop);
  std::vector<Text> expected = {u"Checking media... 1/28", u"Checking media... 28/28"};
  for (int i = 0; i < 6; ++i) {
    expected.push_back(u"Media checked. Errors: 0 / 28");
    expected.push_back(u"");
  }
  expected.push_back(u"");
  EXPECT_EQ(run.sink.Statuses(), expected);
  EXPECT_EQ(run.sleeps, 12);
  EXPECT_EQ(run.sink.RowCount(), 28u);
}

TEST(ProbeWorkerLoop, FailedRowsAreCountedAndSetNoProgress) {
  FakeBackend backend;
  auto paths = Paths(3);
  backend.files[paths[1]] = FakeBackend::Audio(5);
  MediaProperties notMedia;
  notMedia.opened = true;
  notMedia.contentType = u"text/plain";
  backend.files[paths[2]] = notMedia;  // opens but is not media
  std::atomic<bool> stop{false};
  ProbeRun run;
  run.Go(paths, backend, stop);
  auto statuses = run.sink.Statuses();
  ASSERT_FALSE(statuses.empty());
  // Row 0 failed, so there is no "1/3" progress; rows 1 and 2 are not multiples of 27.
  EXPECT_EQ(statuses.front(), u"Media checked. Errors: 2 / 3");
  std::vector<bool> media;
  for (auto& b : run.sink.batches)
    for (auto& r : b->rows) media.push_back(r.media);
  EXPECT_EQ(media, (std::vector<bool>{false, true, false}));
}

TEST(ProbeWorkerLoop, EmptyListBlinksTheTipWithAmpersandsDoubled) {
  FakeBackend backend;
  std::atomic<bool> stop{false};
  ProbeRun run;
  run.Go({}, backend, stop);
  auto statuses = run.sink.Statuses();
  ASSERT_EQ(statuses.size(), 13u);
  EXPECT_EQ(statuses.front(), u"Tip: Add Files via Drag && Drop");
  EXPECT_EQ(statuses.back(), u"Tip: Add Files via Drag && Drop");
}

TEST(ProbeWorkerLoop, StopBeforeARowEndsAtOnceAndDeliversNothingFurther) {
  FakeBackend backend;
  std::atomic<bool> stop{true};
  ProbeRun run;
  run.Go(Paths(5), backend, stop);
  EXPECT_EQ(backend.opens, 0);
  EXPECT_TRUE(run.sink.batches.empty());
}

TEST(ProbeWorkerLoop, StopDuringTheBlinkLeavesTheStatusAsItIs) {
  FakeBackend backend;
  auto paths = Paths(2);
  std::atomic<bool> stop{false};
  CollectingSink sink;
  ProbeSeams seams;
  int sleeps = 0;
  seams.sleep = [&](int) {
    if (++sleeps == 3) stop = true;
  };
  RunProbe(ProbeJob{paths, kTexts}, 1, backend, sink, stop, seams);
  auto statuses = sink.Statuses();
  EXPECT_EQ(sleeps, 3);
  // text, empty, text, then the stop: no final empty text.
  EXPECT_EQ(statuses, (std::vector<Text>{u"Media checked. Errors: 2 / 2", u"", u"Media checked. Errors: 2 / 2"}));
}

TEST(ProbeWorkerLoop, ManyFailuresGoOutInBoundedBatches) {
  FakeBackend backend;  // nothing opens
  std::atomic<bool> stop{false};
  ProbeRun run;
  run.Go(Paths(200), backend, stop);
  EXPECT_EQ(run.sink.RowCount(), 200u);
  for (auto& b : run.sink.batches) EXPECT_LE(b->rows.size(), kProbeBatchRows);
}

TEST(ProbeWorkerLoop, SlowProbesAreFlushedByTime) {
  FakeBackend backend;  // every row fails, so no progress text forces a flush
  std::atomic<bool> stop{false};
  CollectingSink sink;
  uint64_t now = 0;
  ProbeSeams seams;
  seams.sleep = [](int) {};
  seams.nowMs = [&] { return now += 60; };  // each probe seems to take 60 ms
  RunProbe(ProbeJob{Paths(10), kTexts}, 1, backend, sink, stop, seams);
  ASSERT_GE(sink.batches.size(), 2u);
  EXPECT_LE(sink.batches.front()->rows.size(), 2u);
}

// ---- applying results on the user-interface thread ----

ProbeBatch BatchFor(const std::vector<Text>& paths, FakeBackend& backend, uint64_t gen = 1) {
  std::atomic<bool> stop{false};
  ProbeRun run;
  run.Go(paths, backend, stop, gen);
  ProbeBatch all;
  all.generation = gen;
  for (auto& b : run.sink.batches)
    for (auto& r : b->rows) all.rows.push_back(r);
  return all;
}

TEST(ProbeApply, MediaRowGetsTitleDurationAndIconUntitledKeepsFileName) {
  FakeBackend backend;
  std::vector<Text> paths = {u"C:\\m\\song.mp3", u"C:\\m\\untitled.wav", u"C:\\m\\clip.mp4"};
  backend.files[paths[0]] = FakeBackend::Audio(59.9, u"The Song");
  backend.files[paths[1]] = FakeBackend::Audio(0.4);
  MediaProperties video = FakeBackend::Audio(3600);
  video.contentType = u"Video/MP4";
  backend.files[paths[2]] = video;
  FakeRows rows(paths);
  rows.rows[0].columnImages[2] = 2;  // an earlier failed mark's image is removed
  ProbeBatch batch = BatchFor(paths, backend);
  EXPECT_EQ(ApplyProbeBatch(batch, 1, rows, nullptr), 3);
  EXPECT_EQ(rows.rows[0].texts[0], u"The Song");
  EXPECT_EQ(rows.rows[0].texts[2], u"00:59");
  EXPECT_EQ(rows.rows[0].itemImage, kImageAudio);
  EXPECT_EQ(rows.rows[0].columnImages[2], -1);
  EXPECT_EQ(rows.rows[1].texts[0], u"untitled.wav");
  EXPECT_EQ(rows.rows[1].texts[2], u"00:01");
  EXPECT_EQ(rows.rows[2].itemImage, kImageVideo);
  EXPECT_EQ(rows.rows[2].texts[2], u"60:00");
}

TEST(ProbeApply, MissingFileGetsTheFailedMark) {
  FakeBackend backend;
  std::vector<Text> paths = {u"C:\\gone.mp3"};
  FakeRows rows(paths);
  ApplyProbeBatch(BatchFor(paths, backend), 1, rows, nullptr);
  EXPECT_EQ(rows.rows[0].itemImage, kImageFailed);
  EXPECT_EQ(rows.rows[0].texts[2], u"X");
  EXPECT_EQ(rows.rows[0].texts[4], u"X");
  EXPECT_EQ(rows.rows[0].columnImages[2], kImageFailed);
  EXPECT_TRUE(IsMarkedFailed(rows, 0));
}

TEST(ProbeApply, MovedRowGetsItsOwnResultAndRemovedRowIsSkipped) {
  FakeBackend backend;
  std::vector<Text> paths = {u"C:\\a.mp3", u"C:\\b.mp3", u"C:\\c.mp3"};
  backend.files[paths[0]] = FakeBackend::Audio(1, u"A");
  backend.files[paths[1]] = FakeBackend::Audio(2, u"B");
  backend.files[paths[2]] = FakeBackend::Audio(3, u"C");
  ProbeBatch batch = BatchFor(paths, backend);
  // While the results were on their way, the user removed b and moved c to the top.
  FakeRows rows({u"C:\\c.mp3", u"C:\\a.mp3", u"C:\\new.mp3"});
  EXPECT_EQ(ApplyProbeBatch(batch, 1, rows, nullptr), 2);
  EXPECT_EQ(rows.rows[0].texts[0], u"C");
  EXPECT_EQ(rows.rows[1].texts[0], u"A");
  EXPECT_EQ(rows.rows[2].texts[0], u"new.mp3");
  EXPECT_EQ(rows.rows[2].texts[2], u"");
}

TEST(ProbeApply, BatchOfAnEarlierListTouchesNoRowAndNoStatus) {
  FakeBackend backend;
  std::vector<Text> paths = {u"C:\\same.mp3"};
  backend.files[paths[0]] = FakeBackend::Audio(1, u"Old");
  ProbeBatch batch = BatchFor(paths, backend, /*gen=*/1);
  batch.hasStatus = true;
  batch.status = u"Checking media... 1/1";
  FakeRows rows(paths);  // the new list holds the same path
  bool statusSet = false;
  EXPECT_EQ(ApplyProbeBatch(batch, 2, rows, [&](TextView) { statusSet = true; }), 0);
  EXPECT_EQ(rows.rows[0].texts[0], u"same.mp3");
  EXPECT_FALSE(statusSet);
}

// ---- the thread owner ----

// Waits for the sink to hold what done() asks for; the cap only ends a test
// whose worker never gets there.
template <typename Done>
bool WaitForSink(CollectingSink& sink, Done done) {
  const auto cap = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(sink.m);
      if (done()) return true;
    }
    if (std::chrono::steady_clock::now() > cap) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

TEST(ProbeWorkerThread, StartingAnotherListStopsTheFirstBeforeTheNewOneIsProbed) {
  CollectingSink sink;
  std::promise<void> firstRowReached;
  std::atomic<bool> released{false};
  std::atomic<int> backends{0};
  class BlockingBackend : public MediaProbeBackend {
   public:
    BlockingBackend(std::promise<void>* reached, std::atomic<bool>* released) : reached_(reached), released_(released) {}
    MediaProperties Open(const Text& path) override {
      if (path == u"old0" && reached_) {
        reached_->set_value();
        reached_ = nullptr;
        while (!released_->load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      return FakeBackend::Audio(1);
    }
    std::promise<void>* reached_;
    std::atomic<bool>* released_;
  };
  ProbeWorker worker(
      [&]() -> std::unique_ptr<MediaProbeBackend> {
        ++backends;
        return std::make_unique<BlockingBackend>(backends == 1 ? &firstRowReached : nullptr, &released);
      },
      sink);
  worker.SetSleepForTesting([](int) {});
  ASSERT_EQ(worker.StartProbe(ProbeJob{{u"old0", u"old1", u"old2"}, kTexts}), 0);
  firstRowReached.get_future().wait();
  // The old worker is inside its first row; release it while StartProbe waits for its end.
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    released = true;
  });
  ASSERT_EQ(worker.StartProbe(ProbeJob{{u"new0"}, kTexts}), 0);
  releaser.join();
  // Let the new job run to its end.
  EXPECT_TRUE(WaitForSink(sink, [&] {
    return !sink.batches.empty() && sink.batches.back()->generation == 2 && sink.Statuses().size() >= 13;
  }));
  worker.StopProbe();
  EXPECT_FALSE(worker.Running());
  // The old job stopped after its first row, and none of its rows reached the sink
  // after the new generation started; any it sent are of generation 1.
  std::lock_guard<std::mutex> lock(sink.m);
  bool newSeen = false;
  for (auto& b : sink.batches) {
    for (auto& r : b->rows) {
      if (b->generation == 1) {
        EXPECT_FALSE(newSeen) << "old result after the new list began";
        EXPECT_NE(r.path, u"old1");
        EXPECT_NE(r.path, u"old2");
      } else {
        newSeen = true;
        EXPECT_EQ(r.path, u"new0");
      }
    }
  }
  EXPECT_TRUE(newSeen);
  EXPECT_EQ(worker.Generation(), 2u);
}

TEST(ProbeWorkerThread, StopWakesTheBlinkAtOnce) {
  CollectingSink sink;
  ProbeWorker worker([] { return std::make_unique<FakeBackend>(); }, sink);
  // Each wait of the blink now lasts far longer than the cap below: only the
  // stop's wake can end it in time.
  worker.StretchWaitsForTesting(3 * 60 * 1000);
  ASSERT_EQ(worker.StartProbe(ProbeJob{{}, kTexts}), 0);
  ASSERT_TRUE(WaitForSink(sink, [&] { return !sink.batches.empty(); }));  // the blink has begun
  auto stopped = std::async(std::launch::async, [&] { worker.StopProbe(); });
  ASSERT_EQ(stopped.wait_for(std::chrono::minutes(1)), std::future_status::ready)
      << "the stop did not wake the blink's wait";
  EXPECT_FALSE(worker.Running());
  std::lock_guard<std::mutex> lock(sink.m);
  EXPECT_LT(sink.batches.size(), 13u);  // did not reach the end of the blink
}

}  // namespace
}  // namespace sorvane
