#pragma once
// A pretend driver installation for the plotter model's tests: a folder holding "xomq15.hdi"
// (never loaded: only its path matters) and the DRC data in a language folder beside it.
#include <filesystem>
#include <string>

#include "Common/XOM/DriverApp.h"
#include "hdi/HT_Host_Info.h"

class PretendInstallation {
  public:
    // drc: the DRC file's text in the "en-US" folder; empty leaves the folder out.
    explicit PretendInstallation(const std::string& drc);
    ~PretendInstallation();
    PretendInstallation(const PretendInstallation&) = delete;
    PretendInstallation& operator=(const PretendInstallation&) = delete;

    const std::filesystem::path& dir() const { return m_dir; }
    std::string driverPath() const { return (m_dir / "xomq15.hdi").string(); }
    // Writes a DRC file into the given language folder.
    void writeDrc(const std::string& language, const std::string& text) const;

  private:
    std::filesystem::path m_dir;
};

// The build's real DRC data (the template with generation 15 filled in).
std::string BuildDrcText();
