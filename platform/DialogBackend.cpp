#include "platform/DialogBackend.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace xomplatform {
namespace {

// Made on first use: a driver registers its backend from a static initialiser of another file,
// which may run before this file's own initialisers (which would then wipe the registration).
struct BackendState {
    std::mutex mutex;
    DialogBackendFactory factory;
    std::unique_ptr<DialogBackend> backend;
    bool tried = false;
};

BackendState& State() {
    static BackendState state;
    return state;
}

std::string Get(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Whether something accepts a connection on the local socket at path ('@' first: abstract).
bool UnixSocketAccepts(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    if (path[0] == '@') address.sun_path[0] = '\0';
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size());
    const bool accepted = connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
    close(fd);
    return accepted;
}

// Whether something accepts a TCP connection at host:port, within a second.
bool TcpAccepts(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return false;
    bool accepted = false;
    for (addrinfo* a = found; a != nullptr && !accepted; a = a->ai_next) {
        const int fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) continue;
        if (connect(fd, a->ai_addr, a->ai_addrlen) == 0) {
            accepted = true;
        } else if (errno == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            int error = 0;
            socklen_t size = sizeof error;
            accepted = poll(&p, 1, 1000) == 1 &&
                       getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
        }
        close(fd);
    }
    freeaddrinfo(found);
    return accepted;
}

}  // namespace

bool XDisplayReachable(const std::string& display) {
    // [host]:number[.screen]; a host of its own is reached over TCP at port 6000 + number (an
    // ssh-forwarded display), none or "unix" through the local socket of that number.
    const std::size_t colon = display.rfind(':');
    if (colon == std::string::npos || colon + 1 >= display.size()) return false;
    const std::string host = display.substr(0, colon);
    const std::string number = display.substr(colon + 1, display.find('.', colon) - colon - 1);
    if (number.empty() || number.size() > 5 ||
        number.find_first_not_of("0123456789") != std::string::npos)
        return false;
    if (host.empty() || host == "unix") {
        const std::string path = "/tmp/.X11-unix/X" + number;
        return UnixSocketAccepts(path) || UnixSocketAccepts("@" + path);
    }
    const int port = 6000 + std::stoi(number);
    return port <= 65535 && TcpAccepts(host, port);
}

bool WaylandDisplayReachable(const std::string& display) {
    const std::string name = display.empty() ? "wayland-0" : display;
    if (name[0] == '/') return UnixSocketAccepts(name);
    const std::string runtime = Get("XDG_RUNTIME_DIR");
    return !runtime.empty() && UnixSocketAccepts(runtime + "/" + name);
}

void SetDialogBackendFactory(DialogBackendFactory factory) {
    BackendState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.factory = std::move(factory);
    s.backend.reset();
    s.tried = false;
}

DialogBackend* GetDialogBackend() {
    BackendState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.tried && s.factory) {
        s.tried = true;
        s.backend = s.factory();
    }
    return s.backend.get();
}

bool HasDialogBackendFactory() {
    BackendState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    return static_cast<bool>(s.factory);
}

void ResetDialogBackend() {
    BackendState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.backend.reset();
    s.tried = false;
}

bool DisplayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string forced = platform != nullptr ? platform : "";
    // A platform of its own (offscreen, vnc, ...) needs no display server.
    if (!forced.empty() && forced.rfind("xcb", 0) != 0 && forced.rfind("wayland", 0) != 0)
        return true;
    if (forced.rfind("wayland", 0) == 0) return WaylandDisplayReachable(Get("WAYLAND_DISPLAY"));
    return XDisplayReachable(Get("DISPLAY"));
}

}  // namespace xomplatform
