#pragma once
// Wide/narrow text for the host stand-in's file names and messages (UTF-8 on this platform,
// independent of the process locale).
#include "platform/Utf8.h"

namespace hostsdk {
using xomplatform::FromUtf8;
using xomplatform::ToUtf8;
}  // namespace hostsdk
