#pragma once
// The driver's application object: what the library holds for the life of the process. One
// instance (theApp()); the host loads the driver once and calls it from its plot thread.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "juxcommoncode/PrinterData/XomMachine.h"
#include "resources/ResourceLibrary.h"

class CMfcdll1App {
  public:
    // Language of the user-interface texts when the resource library has no translation list.
    static constexpr std::uint16_t kDefaultLanguageId = 0x0409;  // English (United States)
    static constexpr std::uint16_t kDefaultCodePage = 1252;

    // The resource library ("<driver>Res.so" beside the driver), a dlopen handle; null when
    // none is loaded. Its string table is cached when it is set.
    void* resourceModule() const { return m_resourceModule; }
    void setResourceModule(void* handle);
    // The resource library's string table (sorted by id); null/0 without one.
    const XomResString* resourceStrings() const { return m_resourceStrings; }
    std::size_t resourceStringCount() const { return m_resourceStringCount; }

    // The driver library's path, as the module start found it; empty before (and after) it.
    const std::string& driverPath() const { return m_driverPath; }
    void setDriverPath(std::string path) { m_driverPath = std::move(path); }

    std::uint16_t languageId() const { return m_languageId; }
    std::uint16_t codePage() const { return m_codePage; }
    void setLanguage(std::uint16_t languageId, std::uint16_t codePage) {
        m_languageId = languageId;
        m_codePage = codePage;
    }

    // Devices alive in the process (the network manager lives as long as one does).
    int liveDevices() const { return m_liveDevices; }
    void addDevice() { ++m_liveDevices; }
    // Returns the number of devices still alive.
    int removeDevice() { return m_liveDevices > 0 ? --m_liveDevices : 0; }

    // The printer the settings link (its printer data once read), the working copy that the
    // connect dialog edits, and the PIN typed for the current plot (emptied as each plot ends).
    CXomMachine& currentPrinter() { return m_currentPrinter; }
    CXomMachine& workingPrinter() { return m_workingPrinter; }
    std::wstring& currentPin() { return m_currentPin; }

  private:
    CXomMachine m_currentPrinter;
    CXomMachine m_workingPrinter;
    std::wstring m_currentPin;
    std::string m_driverPath;
    void* m_resourceModule = nullptr;
    const XomResString* m_resourceStrings = nullptr;
    std::size_t m_resourceStringCount = 0;
    std::uint16_t m_languageId = kDefaultLanguageId;
    std::uint16_t m_codePage = kDefaultCodePage;
    int m_liveDevices = 0;
};

CMfcdll1App& theApp();
