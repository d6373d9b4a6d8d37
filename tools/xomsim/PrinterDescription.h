#pragma once
// The simulated printer's identity and MIB objects, read from a plain text description file:
//
//   # a comment; blank lines are ignored
//   description XOM Q Series Q1 printer      (sysDescr, the rest of the line)
//   name        q1-lab                       (sysName)
//   location    lab bench 3                  (sysLocation, optional)
//   mac         00-11-22-33-44-55            (ifPhysAddress of interface 1; '-' or ':' between)
//   community   tamsel                       (optional; "tamsel" when absent)
//   object 1.3.6.1.2.1.43.10.2.1.6.1.1 integer 3
//   object 1.3.6.1.4.1.40713.1.1.1.1.0 octets Roll 1 (text, the rest of the line)
//   object 1.3.6.1.4.1.40713.1.1.1.2.0 hex 00 01 FE (octets; blanks between pairs optional)
//   object 1.3.6.1.4.1.40713.1.1.1.4.0 gauge 4000000000
//   object 1.3.6.1.4.1.40713.1.1.1.7.0 uinteger 7 (UInteger32, tag 0x47)
//
// and the printer data in one row per line (colorants, users, media, trays, presets, ...), as
// PrinterModel.h lists them. description, name and mac are required. An object may appear once.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/xomsim/MibObject.h"
#include "tools/xomsim/PrinterModel.h"

namespace xomsim {

struct PrinterDescription {
    std::string community = "tamsel";
    std::vector<std::uint8_t> mac;  // 6 octets
    std::string name;               // sysName, for the simulator's own lines
    // Every object served, identity included, in identifier order (as GetNext walks them).
    MibObjects objects;
    // The users, accounting values and salts behind the objects, for checking job tokens.
    PrinterModel model;
};

// "1.3.6.1" -> arcs; false for anything but dot-separated decimal arcs (at least two).
bool ParseObjectId(const std::string& text, ObjectId& out);
std::string ObjectIdText(const ObjectId& id);

// Parses a description given as text; source names it in errors ("FILE:LINE: ..."). The seed
// makes the salts that the description does not give.
bool ParsePrinterDescription(const std::string& text, const std::string& source,
                             PrinterDescription& out, std::string& error, std::uint64_t seed = 1);
// Reads and parses the file; false with "FILE: ..." or "FILE:LINE: ..." in error.
bool LoadPrinterDescription(const std::string& path, PrinterDescription& out, std::string& error,
                            std::uint64_t seed = 1);

}  // namespace xomsim
