// A probe that throws on its worker thread: the thread is an entry point of
// its own, so a throw there would end the whole program.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>

#include "fake_media_rows.h"
#include "medialist/probe_worker.h"

namespace sorvane {
namespace {

using testing::FakeBackend;

class CountingSink : public ProbeSink {
 public:
  void Deliver(std::unique_ptr<ProbeBatch> batch) override {
    std::lock_guard<std::mutex> lock(m);
    for (auto& r : batch->rows) paths.push_back(r.path);
  }
  std::mutex m;
  std::vector<Text> paths;
};

class ThrowingBackend : public MediaProbeBackend {
 public:
  explicit ThrowingBackend(std::promise<void>* reached) : reached_(reached) {}
  MediaProperties Open(const Text&) override {
    reached_->set_value();
    throw std::bad_alloc();
  }
  std::promise<void>* reached_;
};

TEST(ProbeWorkerFailure, AThrowFromTheBackendOrItsFactoryEndsOnlyTheProbe) {
  const ProbeTexts texts{u"tip", u"checking", u"checked"};
  for (const bool inFactory : {false, true}) {
    SCOPED_TRACE(inFactory ? "factory throws" : "backend throws");
    CountingSink sink;
    std::promise<void> reached;
    int made = 0;
    ProbeWorker worker(
        [&]() -> std::unique_ptr<MediaProbeBackend> {
          if (++made == 2) return std::make_unique<FakeBackend>();
          if (inFactory) {
            reached.set_value();
            throw std::runtime_error("no probing here");
          }
          return std::make_unique<ThrowingBackend>(&reached);
        },
        sink);
    worker.SetSleepForTesting([](int) {});
    ASSERT_EQ(worker.StartProbe(ProbeJob{{u"C:\\a.mp3"}, texts}), 0);
    reached.get_future().wait();
    worker.StopProbe();  // joins the thread the throw ended
    EXPECT_FALSE(worker.Running());

    // The worker is still usable: the next list is probed as usual.
    ASSERT_EQ(worker.StartProbe(ProbeJob{{u"C:\\b.mp3"}, texts}), 0);
    for (;;) {
      {
        std::lock_guard<std::mutex> lock(sink.m);
        if (!sink.paths.empty()) break;
      }
      std::this_thread::yield();
    }
    worker.StopProbe();
    std::lock_guard<std::mutex> lock(sink.m);
    EXPECT_EQ(sink.paths, std::vector<Text>{u"C:\\b.mp3"});
  }
}

}  // namespace
}  // namespace sorvane
