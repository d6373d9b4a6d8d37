#pragma once
// The simulated printer's SNMP version 1 answers: a received datagram is parsed with the driver's
// own message classes and answered from the printer description as a v1 agent does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/xomsim/PrinterDescription.h"

namespace xomsim {

struct SnmpReply {
    bool answer = false;                 // false: the agent stays silent
    std::vector<std::uint8_t> datagram;  // the GetResponse when answer is set
    std::string note;                    // what was asked and what became of it, for the log line
};

// GetRequest: the values, or error status 2 (noSuchName) with the 1-based index of the first
// object it lacks and every varbind echoed with a Null value. GetNextRequest: the next object
// after each name in identifier order (noSuchName past the last). SetRequest: noSuchName, as a
// read-only v1 agent answers. The answer carries the request's id and community. Silence for a
// wrong community, a version other than 1, another PDU type or a datagram that does not parse.
SnmpReply AnswerSnmpRequest(const PrinterDescription& printer, const std::uint8_t* data,
                            std::size_t size);

}  // namespace xomsim
