#include "juxcommoncode/JuxNetwork/NoticeEvent.h"

namespace JuxNetwork {

void CNoticeEvent::Set() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_signalled = true;
    }
    m_changed.notify_all();
}

void CNoticeEvent::Reset() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_signalled = false;
}

bool CNoticeEvent::IsSet() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_signalled;
}

bool CNoticeEvent::WaitFor(std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> guard(m_lock);
    return m_changed.wait_for(guard, timeout, [this] { return m_signalled; });
}

}  // namespace JuxNetwork
