#pragma once
// The PJL block in front of every job's printer-language part: Universal Exit Language, comment
// lines that say where the job comes from, the resolution and the switch into HP-GL/2. 8-bit
// text, lines ending in CR LF; no job-boundary commands.
//
// Comment values never break a line: control characters in the user name, drawing name, product
// name or device name become "?", so the block always has its nine or ten lines.
#include <ctime>
#include <functional>
#include <optional>
#include <string>

struct PjlHeaderInputs {
    int resolutionDpi = 0;
    std::wstring drawingName;                  // the host's name, empty when it gives none
    std::wstring productName;                  // the host's product name
    std::optional<std::wstring> targetDevice;  // no line when the host gives none
    std::optional<std::string> userName;       // "USERNAME"; unset or empty: "AutoCAD user"
    std::tm localTime{};
    std::string driverTag = "xomq";
    std::wstring driverVersion;  // "1.0.24.x64"
    std::wstring hdiVersion;     // "15.0.0.0"
};

// Appends the block to text. Wide texts are converted to the multibyte encoding of the current
// locale; a text that cannot be converted gives an empty value.
void WritePjlHeader(const PjlHeaderInputs& inputs, std::string& text);

// The environment variable "USERNAME" as the header reads it (or the installed source's).
std::optional<std::string> JobUserNameFromEnvironment();
// Installs a source of the user name and returns the previous one; an empty source restores the
// environment.
using JobUserNameSource = std::function<std::optional<std::string>()>;
JobUserNameSource SetJobUserNameSource(JobUserNameSource source);
