#pragma once
// CNoticeEvent: a manual-reset event. A worker signals it when something happened on a socket; the
// waiting application thread resets it before it starts the operation it will wait for.
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace JuxNetwork {

class CNoticeEvent {
  public:
    void Set();
    void Reset();
    bool IsSet() const;
    // True when the event is or becomes signalled within timeout.
    bool WaitFor(std::chrono::milliseconds timeout) const;

  private:
    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    bool m_signalled = false;
};

}  // namespace JuxNetwork
