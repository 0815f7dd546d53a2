#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "../support/sound_files.h"
#include "../unit/fake_media_rows.h"
#include "framework/win/wintext.h"
#include "medialist/win/probe_host.h"
#include "medialist/win/system_probe.h"
#include "playback/win/sequencer_panel.h"

namespace sorvane::win {
namespace {

Text TempPath(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return T(dir) + T(name);
}

void WriteBytes(const Text& path, const std::string& bytes) {
  HANDLE f = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
  ASSERT_EQ(written, bytes.size());
}

class ProbeFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    wav = TempPath(L"sorvane_probe_2s.wav");
    fakeMp3 = TempPath(L"sorvane_probe_text.mp3");
    missing = TempPath(L"sorvane_probe_missing.wav");
    avi = TempPath(L"sorvane_probe_2s.avi");
    WriteBytes(avi, sorvane::testing::AviBytes());
    WriteBytes(wav, sorvane::testing::SoundFileBytes(2.0));
    WriteBytes(fakeMp3, "This is a text file, not an MPEG stream.\r\n");
    DeleteFileW(W(missing));
  }
  static Text wav, fakeMp3, missing, avi;
};
Text ProbeFiles::wav, ProbeFiles::fakeMp3, ProbeFiles::missing, ProbeFiles::avi;

TEST_F(ProbeFiles, MediaFoundationReadsTheWavAndRejectsTextAndMissingFiles) {
  MediaFoundationBackend mf;
  MediaProbe wavProbe = MediaProbe::Open(mf, wav);
  ASSERT_TRUE(wavProbe.Opened());
  EXPECT_NEAR(wavProbe.DurationSeconds(), 2.0, 0.01);
  EXPECT_EQ(wavProbe.DurationText(), u"00:02");
  EXPECT_EQ(ToUtf8(wavProbe.ContentType()).rfind("audio/", 0), 0u) << ToUtf8(wavProbe.ContentType());
  EXPECT_TRUE(wavProbe.IsAudio());
  EXPECT_FALSE(wavProbe.IsVideo());
  EXPECT_TRUE(wavProbe.IsMedia());

  EXPECT_FALSE(MediaProbe::Open(mf, fakeMp3).IsMedia());
  EXPECT_FALSE(MediaProbe::Open(mf, missing).Opened());
}

TEST_F(ProbeFiles, MediaFoundationTellsVideoByItsStream) {
  MediaFoundationBackend mf;
  MediaProperties props = mf.Open(avi);
  ASSERT_TRUE(props.opened);
  MediaProbe probe(props);
  EXPECT_TRUE(probe.IsVideo()) << ToUtf8(probe.ContentType());
  EXPECT_TRUE(probe.IsMedia());
  EXPECT_EQ(props.frameWidth, 32u);
  EXPECT_EQ(ToUtf8(probe.ContentType()).rfind("video/", 0), 0u) << ToUtf8(probe.ContentType());
  EXPECT_NEAR(probe.DurationSeconds(), 2.0, 0.05);
}

TEST_F(ProbeFiles, SystemBackendFallsBackWhenThePropertyStoreIsMissing) {
  MediaProperties props;
  ShellOpenResult shell = ReadShellProperties(wav, props);
  SystemProbeBackend backend;
  MediaProbe p = MediaProbe::Open(backend, wav);
  // Where the property system answers, it decides; where it cannot be had, Media Foundation does.
  EXPECT_TRUE(p.IsMedia()) << "shell result " << static_cast<int>(shell);
  EXPECT_TRUE(p.IsAudio());
  EXPECT_EQ(p.DurationText(), u"00:02");
  EXPECT_FALSE(MediaProbe::Open(backend, missing).IsMedia());
  if (shell == ShellOpenResult::kUnavailable) EXPECT_FALSE(MediaProbe::Open(backend, fakeMp3).IsMedia());
}

// A window that receives the worker's batches, as the main window does.
LRESULT CALLBACK ReceiverProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

HWND MakeReceiver() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ReceiverProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SorvaneProbeReceiver";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

TEST_F(ProbeFiles, WorkerThreadPostsResultsThatTheWindowApplies) {
  HWND window = MakeReceiver();
  ASSERT_NE(window, nullptr);
  testing::FakeRows rows({wav, fakeMp3, missing});
  std::vector<Text> statuses;
  {
    ProbeHost host(window);
    host.Worker().SetSleepForTesting([](int) {});  // the blink's waits are not what is tested here
    ASSERT_EQ(host.StartProbe(ProbeJob{{wav, fakeMp3, missing}, {u"Tip", u"Checking media...", u"Media checked. Errors:"}}), 0);
    DWORD start = GetTickCount();
    bool done = false;
    while (!done && GetTickCount() - start < 20000) {
      MSG msg;
      if (PeekMessageW(&msg, window, kProbeResultMessage, kProbeResultMessage, PM_REMOVE)) {
        host.OnProbeResult(rows, [&](TextView s) { statuses.push_back(Text(s)); });
        done = statuses.size() == 14;  // progress, 12 blink steps, final
      } else {
        Sleep(5);
      }
    }
    host.StopProbe();
  }
  DestroyWindow(window);
  ASSERT_EQ(statuses.size(), 14u);
  EXPECT_EQ(statuses.front(), u"Checking media... 1/3");
  EXPECT_EQ(statuses[1], u"Media checked. Errors: 2 / 3");
  EXPECT_EQ(statuses.back(), u"");
  EXPECT_EQ(rows.rows[0].texts[2], u"00:02");
  EXPECT_EQ(rows.rows[0].texts[0], u"sorvane_probe_2s.wav");  // no title: the file name stays
  EXPECT_EQ(rows.rows[0].itemImage, kImageAudio);
  EXPECT_TRUE(IsMarkedFailed(rows, 2));
  EXPECT_EQ(rows.rows[2].texts[4], u"X");
}

// The system backend, counting its files: the first one tells the test that
// the run is under way.
class CountingBackend : public MediaProbeBackend {
 public:
  CountingBackend(std::atomic<int>& opened, HANDLE firstOpened) : opened_(opened), firstOpened_(firstOpened) {}
  MediaProperties Open(const Text& path) override {
    MediaProperties p = system_.Open(path);
    if (++opened_ == 1) SetEvent(firstOpened_);
    return p;
  }

 private:
  SystemProbeBackend system_{true};
  std::atomic<int>& opened_;
  HANDLE firstOpened_;
};

TEST_F(ProbeFiles, StopDuringARunFreesWhatIsQueuedAndStopsBeforeTheEnd) {
  HWND window = MakeReceiver();
  ASSERT_NE(window, nullptr);
  std::vector<Text> paths(200, wav);
  std::atomic<int> opened{0};
  HANDLE firstOpened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ProbeHost host(window, [&] { return std::make_unique<CountingBackend>(opened, firstOpened); });
  ASSERT_EQ(host.StartProbe(ProbeJob{paths, {u"Tip", u"C", u"E"}}), 0);
  ASSERT_EQ(WaitForSingleObject(firstOpened, 60000), WAIT_OBJECT_0) << "the run did not begin";
  host.StopProbe();
  EXPECT_FALSE(host.Running());
  EXPECT_LT(opened.load(), 200) << "the run went on to its end";
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, window, kProbeResultMessage, kProbeResultMessage, PM_NOREMOVE));
  DestroyWindow(window);
  CloseHandle(firstOpened);
}


// However many batches the worker hands over before the window looks, the
// window's queue holds one message for them: the user's commands (a close
// among them) never wait behind a list's worth of results, and a long list
// never fills the queue. The batches come out whole and in their order.
TEST(PostingProbeSinkTest, ManyBatchesWaitBehindOneMessage) {
  HWND window = MakeReceiver();
  ASSERT_NE(window, nullptr);
  PostingProbeSink sink(window);
  auto countMessages = [&] {
    int n = 0;
    MSG msg;
    while (PeekMessageW(&msg, window, kProbeResultMessage, kProbeResultMessage, PM_REMOVE)) ++n;
    return n;
  };
  constexpr int kBatches = 12000;  // more than the system lets one queue hold
  std::thread worker([&] {
    for (int i = 0; i < kBatches; ++i) {
      auto batch = std::make_unique<ProbeBatch>();
      batch->generation = static_cast<uint64_t>(i);
      sink.Deliver(std::move(batch));
    }
  });
  worker.join();
  EXPECT_EQ(countMessages(), 1);
  EXPECT_EQ(sink.Failed(), 0);
  const auto taken = sink.TakeAll();
  ASSERT_EQ(taken.size(), static_cast<size_t>(kBatches));
  for (int i = 0; i < kBatches; ++i) ASSERT_EQ(taken[static_cast<size_t>(i)]->generation, static_cast<uint64_t>(i));
  EXPECT_TRUE(sink.TakeAll().empty());

  // Once taken, the next batch is announced again.
  sink.Deliver(std::make_unique<ProbeBatch>());
  sink.Deliver(std::make_unique<ProbeBatch>());
  EXPECT_EQ(countMessages(), 1);
  EXPECT_EQ(sink.TakeAll().size(), 2u);
  DestroyWindow(window);
}

}  // namespace
}  // namespace sorvane::win
