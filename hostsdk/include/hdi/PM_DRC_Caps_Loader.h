#pragma once
// The host's model library: reads a driver's DRC capability data (media sizes, resolutions,
// colour modes, media sources, custom items with defaults, and the "\DPIA_directory" nodes with
// their "descriptor" and "info" properties) into plotter capabilities.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "hdi/HT_Error.h"
#include "hdi/HT_Plotter_Parts.h"

// A parsed DRC file: a tree of properties addressed by backslash paths
// ("\DPIA_directory\node\info"). The text format (one item per line, paths case-sensitive):
//   # or ; starts a comment line
//   [\path\to\node]        opens a node; the properties below belong to it
//   name = value            the property \path\to\node\name; the value runs to the line's end,
//                           blanks trimmed; "..." keeps blanks and takes \" and \\ escapes
// Errors name the file and line: "xomq15.drc:12: duplicate property '\resolutions\600_DPI\dpi'".
class PM_Iterator;

class PM_Object {
  public:
    // Node types an iterator reports.
    static constexpr int kNodeTypeNode = 1;
    static constexpr int kNodeTypeProperty = 3;

    // Parses the file; false with a readable error ("file:line: reason") on bad data.
    bool load(const std::string& path, std::string& error);
    bool load_text(const std::string& text, const std::string& name, std::string& error);
    bool has_property(const std::string& path) const;
    std::string GetProperty(const std::string& path) const;
    // Size of the value in bytes including a terminating zero (the buffer it needs); 0 when
    // the property does not exist.
    std::size_t getPropertySize(const std::string& path) const;
    // Names of the child nodes under a path ("\" is the root), in file order.
    std::vector<std::string> children(const std::string& path) const;
    // Names of the properties of a node, in file order.
    std::vector<std::string> properties(const std::string& path) const;
    // The line a property was defined on (0 when it does not exist), for error texts.
    int property_line(const std::string& path) const;
    const std::string& name() const { return m_name; }
    // An iterator over the entries of a node (its child nodes, then its properties); null when
    // the path is not a node.
    std::unique_ptr<PM_Iterator> newIterator(const std::string& path) const;

  private:
    std::map<std::string, std::string> m_properties;
    std::map<std::string, std::vector<std::string>> m_children;
    std::map<std::string, std::vector<std::string>> m_propertyNames;
    std::map<std::string, int> m_lines;
    std::set<std::string> m_nodes;
    std::string m_name;
};

class PM_Iterator {
  public:
    struct Entry {
        std::string name;
        int type;
    };
    explicit PM_Iterator(std::vector<Entry> entries) : m_entries(std::move(entries)) {}
    // The next entry's name and type; false after the last.
    bool nextNode(std::string& name, int& type);

  private:
    std::vector<Entry> m_entries;
    std::size_t m_next = 0;
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
