#include "PeerTools.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace JuxNetwork::test {
namespace {

std::vector<char*> ArgvPointers(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    pointers.reserve(argv.size() + 1);
    for (const auto& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// Waits for the child at most timeoutMs; true when it was reaped.
bool WaitFor(pid_t pid, int timeoutMs, int* status) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const pid_t done = waitpid(pid, status, WNOHANG);
        if (done == pid || done < 0) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::uint16_t Checksum16(const std::uint8_t* data, std::size_t size) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2) sum += (data[i] << 8) | data[i + 1];
    if (size & 1) sum += data[size - 1] << 8;
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

void PutU16(BerOctets& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void PutLe32(std::ofstream& out, std::uint32_t value) {
    const char bytes[4] = {static_cast<char>(value), static_cast<char>(value >> 8),
                           static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
    out.write(bytes, 4);
}

}  // namespace

std::string FindTool(const std::string& name) {
    const char* inherited = std::getenv("PATH");
    std::string path = inherited != nullptr ? inherited : "";
    path += ":/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin";
    std::stringstream folders(path);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty()) continue;
        std::string candidate = folder;
        candidate += '/';
        candidate += name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

CommandResult RunCommand(const std::vector<std::string>& argv, int timeoutMs) {
    CommandResult result;
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return result;
    auto args = ArgvPointers(argv);
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(pipeFds[1], STDOUT_FILENO);
        dup2(pipeFds[1], STDERR_FILENO);
        const int devNull = open("/dev/null", O_RDONLY);
        if (devNull >= 0) dup2(devNull, STDIN_FILENO);
        execv(args[0], args.data());
        _exit(127);
    }
    close(pipeFds[1]);
    if (pid < 0) {
        close(pipeFds[0]);
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char chunk[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            result.timedOut = true;
            break;
        }
        pollfd fd{pipeFds[0], POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left)) <= 0) continue;
        const ssize_t got = read(pipeFds[0], chunk, sizeof chunk);
        if (got <= 0) break;  // every writer closed: the command ended
        result.output.append(chunk, static_cast<std::size_t>(got));
    }
    close(pipeFds[0]);
    int status = 0;
    if (result.timedOut || !WaitFor(pid, 2000, &status)) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return result;
    }
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    return result;
}

bool ChildProcess::Start(const std::vector<std::string>& argv, const std::string& logPath) {
    Stop();
    auto args = ArgvPointers(argv);
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
        }
        const int devNull = open("/dev/null", O_RDONLY);
        if (devNull >= 0) dup2(devNull, STDIN_FILENO);
        execv(args[0], args.data());
        _exit(127);
    }
    if (pid < 0) return false;
    m_pid = pid;
    return true;
}

bool ChildProcess::IsRunning() {
    if (m_pid <= 0) return false;
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_pid = -1;
        return false;
    }
    return true;
}

int ChildProcess::Wait(int timeoutMs) {
    if (m_pid <= 0) return -1;
    int status = 0;
    if (!WaitFor(m_pid, timeoutMs, &status)) return -1;
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ChildProcess::Stop() {
    if (m_pid <= 0) return;
    int status = 0;
    kill(m_pid, SIGTERM);
    if (!WaitFor(m_pid, 3000, &status)) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, &status, 0);
    }
    m_pid = -1;
}

LoopbackUdpSocket::LoopbackUdpSocket() {
    m_fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        close(m_fd);
        m_fd = -1;
        return;
    }
    m_port = ntohs(address.sin_port);
}

LoopbackUdpSocket::~LoopbackUdpSocket() {
    if (m_fd >= 0) close(m_fd);
}

bool LoopbackUdpSocket::SendTo(std::uint16_t port, const BerOctets& datagram) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const ssize_t sent = sendto(m_fd, datagram.data(), datagram.size(), 0,
                                reinterpret_cast<sockaddr*>(&address), sizeof address);
    return sent == static_cast<ssize_t>(datagram.size());
}

bool LoopbackUdpSocket::Receive(BerOctets& datagram, std::uint16_t& fromPort, int timeoutMs) {
    pollfd fd{m_fd, POLLIN, 0};
    if (poll(&fd, 1, timeoutMs) <= 0) return false;
    datagram.assign(65536, 0);
    sockaddr_in from{};
    socklen_t size = sizeof from;
    const ssize_t got = recvfrom(m_fd, datagram.data(), datagram.size(), 0,
                                 reinterpret_cast<sockaddr*>(&from), &size);
    if (got < 0) return false;
    datagram.resize(static_cast<std::size_t>(got));
    fromPort = ntohs(from.sin_port);
    return true;
}

std::uint16_t FreeUdpPort() {
    LoopbackUdpSocket probe;
    return probe.Port();
}

TempFolder::TempFolder() {
    std::string base = std::filesystem::temp_directory_path().string() + "/snmp_peer_XXXXXX";
    if (mkdtemp(base.data())) m_path = base;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
}

bool WritePcap(const std::string& path, const std::vector<PcapDatagram>& datagrams) {
    std::ofstream out(path, std::ios::binary);
    if (!out) return false;
    PutLe32(out, 0xA1B2C3D4);          // magic, microsecond time stamps
    out.write("\x02\x00\x04\x00", 4);  // version 2.4
    PutLe32(out, 0);                   // time zone
    PutLe32(out, 0);                   // accuracy
    PutLe32(out, 262144);              // snap length
    PutLe32(out, 101);                 // LINKTYPE_RAW: frames are IPv4 packets
    std::uint32_t seconds = 1700000000;
    for (const auto& d : datagrams) {
        BerOctets frame;
        const auto total = static_cast<std::uint16_t>(20 + 8 + d.payload.size());
        frame.push_back(0x45);  // IPv4, 20-octet header
        frame.push_back(0x00);
        PutU16(frame, total);
        PutU16(frame, 0);              // identification
        PutU16(frame, 0x4000);         // don't fragment
        frame.push_back(64);           // TTL
        frame.push_back(17);           // UDP
        PutU16(frame, 0);              // header checksum, filled below
        for (int i = 0; i < 2; ++i) {  // 127.0.0.1 -> 127.0.0.1
            frame.insert(frame.end(), {127, 0, 0, 1});
        }
        const std::uint16_t ipSum = Checksum16(frame.data(), 20);
        frame[10] = static_cast<std::uint8_t>(ipSum >> 8);
        frame[11] = static_cast<std::uint8_t>(ipSum);
        PutU16(frame, d.sourcePort);
        PutU16(frame, d.destinationPort);
        PutU16(frame, static_cast<std::uint16_t>(8 + d.payload.size()));
        PutU16(frame, 0);  // UDP checksum 0: not computed
        frame.insert(frame.end(), d.payload.begin(), d.payload.end());
        PutLe32(out, seconds++);
        PutLe32(out, 0);
        PutLe32(out, static_cast<std::uint32_t>(frame.size()));
        PutLe32(out, static_cast<std::uint32_t>(frame.size()));
        out.write(reinterpret_cast<const char*>(frame.data()),
                  static_cast<std::streamsize>(frame.size()));
    }
    return static_cast<bool>(out);
}

void SaveDatagramIfAsked(const std::string& name, const BerOctets& datagram) {
    const char* folder = std::getenv("SNMP_CAPTURE_DIR");
    if (!folder || !*folder) return;
    std::ofstream out(std::string(folder) + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(datagram.data()),
              static_cast<std::streamsize>(datagram.size()));
}

}  // namespace JuxNetwork::test
