#pragma once
// CCompletionPort: the queue on which the worker threads wait for finished socket operations. The
// sockets run on its io_context; each operation's handler, run inside Wait() by exactly one worker,
// hands that worker one completion: the socket context (the key), the I/O context (the operation),
// the octets moved and the error. Post() queues a completion of its own, as Stop() does to wake the
// workers.
#include <asio/executor_work_guard.hpp>
#include <asio/io_context.hpp>
#include <cstddef>
#include <system_error>

namespace JuxNetwork {

class CSocketContext;
class CIoContext;

struct Completion {
    CSocketContext* key = nullptr;
    CIoContext* io = nullptr;
    std::size_t octets = 0;
    std::error_code error;
};

class CCompletionPort {
  public:
    CCompletionPort();
    CCompletionPort(const CCompletionPort&) = delete;
    CCompletionPort& operator=(const CCompletionPort&) = delete;

    asio::io_context& Context() { return m_io; }

    // Blocks until one completion is handed to this thread. False once the port is closed.
    bool Wait(Completion& out);
    void Post(const Completion& completion);
    // Wakes every waiter; Wait() gives false from then on.
    void Close();

    // Called by an operation's handler: the completion for the worker running the handler.
    static void Deliver(const Completion& completion);

  private:
    asio::io_context m_io;
    asio::executor_work_guard<asio::io_context::executor_type> m_keepWaiting;
};

}  // namespace JuxNetwork
