// Where the system calls into the program (window procedures, COM methods,
// thread entries) nothing may unwind back into the system: a C++ exception
// crossing a system frame is undefined behaviour. Guarded runs the work and
// turns anything thrown into a note in the debugger output and a sound answer.
#pragma once

#include <windows.h>

#include <exception>

namespace sorvane::win {

inline void ReportUnexpected(const char* where, const char* what) noexcept {
  char line[256];
  wsprintfA(line, "Sorvane: %.60s failed: %.160s\n", where, what ? what : "unknown exception");
  OutputDebugStringA(line);
}

template <class Result, class Work>
Result Guarded(const char* where, Result fallback, Work&& work) noexcept {
  try {
    return work();
  } catch (const std::exception& e) {
    ReportUnexpected(where, e.what());
  } catch (...) {
    ReportUnexpected(where, nullptr);
  }
  return fallback;
}

template <class Work>
void GuardedVoid(const char* where, Work&& work) noexcept {
  try {
    work();
  } catch (const std::exception& e) {
    ReportUnexpected(where, e.what());
  } catch (...) {
    ReportUnexpected(where, nullptr);
  }
}

// For window and subclass procedures: answers what work answers; when work
// fails, what the default procedure (fallback) answers, so the message is
// still handled the way the system would.
template <class Work, class Fallback>
LRESULT GuardedOrDefault(const char* where, Work&& work, Fallback&& fallback) noexcept {
  bool failed = true;
  const LRESULT result = Guarded<LRESULT>(where, 0, [&]() -> LRESULT {
    const LRESULT answer = work();
    failed = false;
    return answer;
  });
  if (!failed) return result;
  return Guarded<LRESULT>(where, 0, [&]() -> LRESULT { return fallback(); });
}

}  // namespace sorvane::win
