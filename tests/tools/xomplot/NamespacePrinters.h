#pragma once
// The private network of scripts/netns-printers.sh under a test's own names, and shell commands
// run in it: what the end-to-end tests of discovery, linking and waking use (broadcasts and
// wake-up packets need a network of their own).
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

namespace xomtest {

// Output (stdout and stderr) and exit status of a shell command.
inline std::pair<std::string, int> Shell(const std::string& command) {
    std::string output;
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) return {"", -1};
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) output += buf;
    const int status = pclose(p);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

struct NamespacePrinters {
    // tag: two letters that begin every name, so tests side by side keep apart.
    explicit NamespacePrinters(const std::string& tag)
        : prefix(tag + std::to_string(getpid() % 100000)),
          state(std::filesystem::temp_directory_path() / (prefix + "-netns")),
          script("XOMSIM=" + std::string(XOM_TEST_XOMSIM) + " XOMSIM_NETNS_PREFIX=" + prefix +
                 " XOMSIM_NETNS_STATE=" + state.string() + " " + XOM_TEST_SCRIPTS +
                 "/netns-printers.sh ") {}
    ~NamespacePrinters() {
        Shell(script + "down");
        std::filesystem::remove_all(state);
    }
    NamespacePrinters(const NamespacePrinters&) = delete;
    NamespacePrinters& operator=(const NamespacePrinters&) = delete;

    // Starts the network; environment: assignments put before the script (printer options).
    std::pair<std::string, int> Up(const std::string& environment = {}) {
        return Shell(environment + " " + script + "up");
    }
    // The shell text that runs a command in the client namespace.
    std::string InClient() const { return "ip netns exec " + prefix + "cli "; }
    // What the simulated printer (q1 or q2, ipv4 or ipv6) logged so far.
    std::string Log(const std::string& printer, const std::string& kind = "ipv4") const {
        return Shell("cat '" + (state / (printer + "-" + kind + ".log")).string() + "'").first;
    }

    const std::string prefix;
    const std::filesystem::path state;
    const std::string script;
};

}  // namespace xomtest
