#include "MibTestAgent.h"

#include "juxcommoncode/Snmp/BerTags.h"
#include "juxcommoncode/Snmp/SnmpMessage.h"

MibTestAgent::MibTestAgent(std::map<std::wstring, Value> objects)
    : m_objects(std::move(objects)),
      m_agent("127.0.0.1", [this](SnmpTestAgent& agent, const SnmpTestAgent::Request& request) {
          Answer(agent, request);
      }) {}

void MibTestAgent::Answer(SnmpTestAgent& agent, const SnmpTestAgent::Request& request) {
    if (m_ignoreLeft.fetch_sub(1) > 0) return;
    if (m_answersLeft.fetch_sub(1) <= 0) return;
    JuxNetwork::CSnmpMessage response;
    response.SetPduType(JuxNetwork::kBerTagGetResponsePdu);
    response.SetRequestId(request.id);
    response.SetCommunity(request.community);
    int missing = 0;
    for (std::size_t i = 0; i < request.names.size(); ++i) {
        JuxNetwork::CBerTripleWithData& value = response.AddVarbind(request.names[i])->Value();
        const auto found = m_objects.find(request.names[i]);
        if (found == m_objects.end()) {
            if (missing == 0) missing = static_cast<int>(i) + 1;
            continue;  // Null
        }
        const Value& v = found->second;
        switch (v.tag) {
            case 0x02:
                value.SetInteger32(static_cast<std::int32_t>(v.number));
                break;
            case 0x47:
                value.SetUnsigned32(0x47, static_cast<std::uint32_t>(v.number));
                break;
            case 0x04:
                value.SetOctetString(v.octets);
                break;
            default:
                value.SetNull();
        }
    }
    if (missing > 0) {
        response.Pdu().ErrorStatus().SetInteger32(2);  // noSuchName
        response.Pdu().ErrorIndex().SetInteger32(missing);
    }
    agent.Reply(request, Encode(response));
}
