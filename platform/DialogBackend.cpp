#include "platform/DialogBackend.h"

#include <cstdlib>
#include <mutex>

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

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

}  // namespace

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
    return Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

}  // namespace xomplatform
