#include "medialist/win/probe_ahead_win.h"

#include <windows.h>

#include <memory>
#include <thread>

#include "framework/win/kernel_handle.h"
#include "medialist/win/busy_dialog.h"
#include "medialist/win/system_probe.h"

namespace sorvane::win {

ProbeAhead::BackendFactory SystemProbeAheadFactory() {
  return [] { return std::make_unique<SystemProbeBackend>(true); };
}

bool AddWithProbeAhead(std::vector<Text> plan, const ProbeAhead::BackendFactory& factory, EntryProber* onTheSpot,
                       const std::function<void(const Text& path, EntryProber& prober)>& add, bool dispatchMessages) {
  // Set by the workers after each result; the wait below wakes on it or on a message.
  KernelHandle resultEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  HANDLE event = resultEvent.get();
  std::function<void()> ready;
  if (event) ready = [event] { SetEvent(event); };
  ProbeAhead ahead(std::move(plan), factory, ProbeAheadThreads(std::thread::hardware_concurrency()), ready);

  PlannedAddCallbacks callbacks;
  callbacks.addMediaFile = add;
  if (dispatchMessages) {
    callbacks.pumpMessages = PumpWaitingMessages;
    if (event) {
      callbacks.awaitResult = [event] {
        MsgWaitForMultipleObjectsEx(1, &event, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        return PumpWaitingMessages();
      };
    }
  }
  const bool finished = AddPlannedFiles(ahead, onTheSpot, callbacks);
  // The workers end before the event they signal is closed.
  ahead.Stop();
  return finished;
}

}  // namespace sorvane::win
