#include "framework/win/main_frame_loop.h"

#include <algorithm>

#include "framework/win/boundary.h"

namespace sorvane::win {

namespace {
MainFrameLoop* g_loop = nullptr;

template <typename T>
void RemoveFrom(std::vector<T*>& v, T* item) {
  v.erase(std::remove(v.begin(), v.end(), item), v.end());
}
}  // namespace

MainFrameLoop* CurrentLoop() { return g_loop; }
void SetCurrentLoop(MainFrameLoop* loop) { g_loop = loop; }

void MainFrameLoop::AddIdleHandler(IdleHandler* h) { idle_.push_back(h); }
void MainFrameLoop::RemoveIdleHandler(IdleHandler* h) { RemoveFrom(idle_, h); }
void MainFrameLoop::AddMessageFilter(MessageFilter* f) { filters_.push_back(f); }
void MainFrameLoop::RemoveMessageFilter(MessageFilter* f) { RemoveFrom(filters_, f); }

bool MainFrameLoop::Filter(MSG& message) {
  // A filter may remove itself (its window closing) while handling: walk a copy.
  const std::vector<MessageFilter*> filters = filters_;
  // A filter that fails leaves the message to the next one and to dispatch.
  for (auto it = filters.rbegin(); it != filters.rend(); ++it)
    if (Guarded("message filter", false, [&] { return (*it)->PreTranslateMessage(message); })) return true;
  return false;
}

bool MainFrameLoop::IdleRound(int count) {
  const std::vector<IdleHandler*> handlers = idle_;
  bool more = false;
  for (IdleHandler* h : handlers) more = Guarded("idle handler", false, [&] { return h->OnIdle(count); }) || more;
  return more;
}

bool MainFrameLoop::RearmsIdle(UINT message) {
  return message != WM_MOUSEMOVE && message != WM_NCMOUSEMOVE && message != WM_PAINT && message != 0x0118;
}

int MainFrameLoop::Run() {
  bool idle = true;
  int idleCount = 0;
  MSG msg{};
  for (;;) {
    while (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!IdleRound(idleCount++)) idle = false;
    }
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) continue;
    if (got == 0) return static_cast<int>(msg.wParam);
    if (!Filter(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (RearmsIdle(msg.message)) {
      idle = true;
      idleCount = 0;
    }
  }
}

}  // namespace sorvane::win
