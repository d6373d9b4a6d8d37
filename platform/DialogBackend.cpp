#include "platform/DialogBackend.h"

#include <cstdlib>
#include <mutex>

namespace xomplatform {
namespace {

std::mutex g_backendMutex;
DialogBackendFactory g_factory;
std::unique_ptr<DialogBackend> g_backend;
bool g_tried = false;

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

}  // namespace

void SetDialogBackendFactory(DialogBackendFactory factory) {
    std::lock_guard<std::mutex> lock(g_backendMutex);
    g_factory = std::move(factory);
    g_backend.reset();
    g_tried = false;
}

DialogBackend* GetDialogBackend() {
    std::lock_guard<std::mutex> lock(g_backendMutex);
    if (!g_tried && g_factory) {
        g_tried = true;
        g_backend = g_factory();
    }
    return g_backend.get();
}

bool HasDialogBackendFactory() {
    std::lock_guard<std::mutex> lock(g_backendMutex);
    return static_cast<bool>(g_factory);
}

void ResetDialogBackend() {
    std::lock_guard<std::mutex> lock(g_backendMutex);
    g_backend.reset();
    g_tried = false;
}

bool DisplayAvailable() {
    return Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

}  // namespace xomplatform
