// The probe-ahead on Windows: worker threads with the system probe (COM set
// up for each thread), and the adding thread waiting for a file's result
// while it keeps dispatching the window's messages.
#pragma once

#include <functional>
#include <vector>

#include "framework/text.h"
#include "medialist/entry_prober.h"
#include "medialist/probe_ahead.h"

namespace sorvane::win {

// The system backend, made and ended on the worker thread that uses it.
ProbeAhead::BackendFactory SystemProbeAheadFactory();

// Probes plan on worker threads (one per core, at most four) and adds its
// files in order with add on this thread. dispatchMessages: the window's
// messages are dispatched after each file and while a file's result is
// awaited; a quit met there stops the workers and ends the adding (false).
// Without it the thread just waits for each file, as a probe on the spot would.
bool AddWithProbeAhead(std::vector<Text> plan, const ProbeAhead::BackendFactory& factory, EntryProber* onTheSpot,
                       const std::function<void(const Text& path, EntryProber& prober)>& add, bool dispatchMessages);

}  // namespace sorvane::win
