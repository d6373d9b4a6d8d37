#pragma once
// The host's model library: reads a driver's DRC capability data (media sizes, resolutions,
// colour modes, media sources, custom items with defaults, and the "\DPIA_directory" nodes with
// their "descriptor" and "info" properties) into plotter capabilities.
#include <map>
#include <string>
#include <vector>

#include "hdi/HT_Error.h"
#include "hdi/HT_Plotter_Parts.h"

// A parsed DRC file: a tree of properties addressed by backslash paths ("\DPIA_directory\node\info").
class PM_Object {
public:
    // Parses the file; false with a readable error ("file:line: reason") on bad data.
    bool load(const std::string& path, std::string& error);
    bool load_text(const std::string& text, const std::string& name, std::string& error);
    bool has_property(const std::string& path) const;
    std::string GetProperty(const std::string& path) const;
    std::size_t getPropertySize(const std::string& path) const;
    // Names of the child nodes under a path, in file order.
    std::vector<std::string> children(const std::string& path) const;

private:
    std::map<std::string, std::string> m_properties;
    std::map<std::string, std::vector<std::string>> m_children;
};

// Splits a compound "first,second" text into its two parts; false when there is no separator.
bool extract_compound_str_ex(const std::string& compound, std::string& first, std::string& second);

class PM_DRC_Caps_Loader : public HT_Counted {
public:
    explicit PM_DRC_Caps_Loader(HT_Error_Handler* error_handler);
    // Fills caps from the DRC file; false with a readable error.
    bool load(const std::string& drc_path, HT_Std_Plotter_Capabilities& caps, std::string& error);

private:
    SPMP<HT_Error_Handler> m_errorHandler;
};
