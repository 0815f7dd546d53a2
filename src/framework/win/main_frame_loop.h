// The user-interface thread's message loop: idle handlers while the queue is
// empty, then message filters (most recently added first), then dispatch.
#pragma once

#include <windows.h>

#include <vector>

namespace sorvane::win {

class IdleHandler {
 public:
  virtual ~IdleHandler() = default;
  // count runs up while the queue stays empty; answer true while there is more to do.
  virtual bool OnIdle(int count) = 0;
};

class MessageFilter {
 public:
  virtual ~MessageFilter() = default;
  // Answer true when the message was handled and must not be dispatched.
  virtual bool PreTranslateMessage(MSG& message) = 0;
};

class MainFrameLoop {
 public:
  void AddIdleHandler(IdleHandler* handler);
  void RemoveIdleHandler(IdleHandler* handler);
  void AddMessageFilter(MessageFilter* filter);
  void RemoveMessageFilter(MessageFilter* filter);

  // Runs until WM_QUIT and answers its code.
  int Run();

  // One step of the loop, usable on its own: offers the message to the filters.
  bool Filter(MSG& message);
  // One idle round: every handler once; true when any has more to do.
  bool IdleRound(int count);
  // Whether a message re-arms idle processing (mouse moves, paints and the
  // caret-blink timer do not).
  static bool RearmsIdle(UINT message);

 private:
  std::vector<IdleHandler*> idle_;
  std::vector<MessageFilter*> filters_;
};

// The loop of the user-interface thread, registered by start-up; null before.
MainFrameLoop* CurrentLoop();
void SetCurrentLoop(MainFrameLoop* loop);

}  // namespace sorvane::win
