#include "juxcommoncode/JuxNetwork/CompletionPort.h"

#include <asio/post.hpp>

namespace JuxNetwork {

namespace {

// The completion slot of the worker currently inside Wait() on this thread.
thread_local Completion* t_slot = nullptr;
thread_local bool t_delivered = false;

}  // namespace

CCompletionPort::CCompletionPort() : m_keepWaiting(asio::make_work_guard(m_io)) {}

bool CCompletionPort::Wait(Completion& out) {
    for (;;) {
        t_slot = &out;
        t_delivered = false;
        const std::size_t handlersRun = m_io.run_one();
        t_slot = nullptr;
        if (t_delivered) return true;
        // No handler ran: the port was closed. A handler that delivered nothing (an internal step
        // of an operation) just means waiting on.
        if (handlersRun == 0) return false;
    }
}

void CCompletionPort::Post(const Completion& completion) {
    asio::post(m_io, [completion] { Deliver(completion); });
}

void CCompletionPort::Close() {
    m_keepWaiting.reset();
    m_io.stop();
}

void CCompletionPort::Deliver(const Completion& completion) {
    if (t_slot == nullptr || t_delivered) return;
    *t_slot = completion;
    t_delivered = true;
}

}  // namespace JuxNetwork
