#pragma once
// The job prefix: the XML job ticket (when it goes into the stream) directly followed by the PJL
// header, with nothing between them. Also the diagnostic header file that receives the ticket and
// the header of each plot when the settings name one.
#include <string>

#include "Common/XomSettings/DriverSettings.h"

struct JobPrefixPlan {
    bool makeTicket = false;      // for the stream or for the diagnostic file
    bool ticketInStream = false;  // the ticket leads the job
};

// Plots to a port carry the ticket; plots to a file only with PutXMLinPlotFile. The ticket is
// made also when only the diagnostic file wants it.
JobPrefixPlan PlanJobPrefix(bool plotToFile, const DriverSettings& settings);

std::string ComposeJobPrefix(const JobPrefixPlan& plan, const std::string& ticket,
                             const std::string& pjlHeader);

// Writes ticket then header to path (UTF-8 file name), created or truncated, held with an
// exclusive lock while it is written. false with the system's text for the failure in error.
bool WriteDiagnosticHeaderFile(const std::wstring& path, const std::string& ticket,
                               const std::string& pjlHeader, std::wstring& error);

// Caption of the message that says the diagnostic file could not be written.
inline constexpr const wchar_t* kDiagnosticHeaderCaption = L"Diagnostic plot header file";
