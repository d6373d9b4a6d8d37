#include "tools/xomsim/SnmpResponder.h"

#include "juxcommoncode/JuxSerialize/JuxSerializingBuffer.h"
#include "juxcommoncode/Snmp/BerDataObjIdString.h"
#include "juxcommoncode/Snmp/SnmpMessage.h"
#include "platform/Utf8.h"

namespace xomsim {
namespace {

using namespace JuxNetwork;

constexpr std::int32_t kNoSuchName = 2;

std::string PduName(std::uint8_t tag) {
    switch (tag) {
        case kBerTagGetRequestPdu:
            return "GetRequest";
        case kBerTagGetNextRequestPdu:
            return "GetNextRequest";
        case kBerTagSetRequestPdu:
            return "SetRequest";
        default:
            return xomplatform::ToUtf8(BerTypeName(tag));
    }
}

void SetValue(CBerTripleWithData& element, const MibValue& value) {
    switch (value.kind) {
        case MibValue::Kind::Integer:
            element.SetInteger32(static_cast<std::int32_t>(value.number));
            break;
        case MibValue::Kind::Gauge:
            element.SetUnsigned32(kBerTagGauge32, static_cast<std::uint32_t>(value.number));
            break;
        case MibValue::Kind::UInteger32:
            element.SetUnsigned32(kBerTagUInteger32, static_cast<std::uint32_t>(value.number));
            break;
        case MibValue::Kind::Octets:
            element.SetOctetString(value.octets);
            break;
    }
}

ObjectId ArcsOf(const CSnmpVarbind& varbind) {
    const auto* id = varbind.Name().GetDataAs<CBerDataObjIdString>();
    return id ? id->GetArcs() : ObjectId{};
}

bool Encode(CSnmpMessage& message, std::vector<std::uint8_t>& out) {
    CJuxSerializingBuffer buffer;
    buffer.StartWriteTo();
    if (message.Serialize(buffer) != 0) return false;
    out.resize(static_cast<std::size_t>(buffer.GetDataSize()));
    buffer.StartReadFrom();
    return out.empty() || buffer.ReadBytes(out.data(), out.size()) == 0;
}

}  // namespace

SnmpReply AnswerSnmpRequest(const PrinterDescription& printer, const std::uint8_t* data,
                            std::size_t size) {
    SnmpReply reply;
    CJuxSerializingBuffer buffer;
    buffer.StartWriteTo();
    if (size > 0) buffer.WriteBytes(data, size);
    buffer.StartReadFrom();
    CSnmpMessage request;
    request.SetReadLimit(size);
    if (request.Serialize(buffer) != 0) {
        reply.note =
            "not an SNMP message (" + xomplatform::ToUtf8(buffer.GetErrorText()) + "): ignored";
        return reply;
    }
    std::int32_t version = -1;
    std::int32_t id = 0;
    CSnmpMessage::GetIntegerValue(request.Version(), version);
    CSnmpMessage::GetIntegerValue(request.Pdu().RequestId(), id);
    const std::uint8_t type = request.GetPduType();
    const CSnmpVarbindList& asked = request.Varbinds();
    reply.note = PduName(type) + " id " + std::to_string(id) + ", " +
                 std::to_string(asked.GetCount()) + " object(s)";
    if (version != 0) {
        reply.note += ": ignored (SNMP version " + std::to_string(version + 1) + ")";
        return reply;
    }
    const auto* community = request.Community().GetData();
    const std::vector<std::uint8_t> expected(printer.community.begin(), printer.community.end());
    if (request.Community().GetTag() != kBerTagOctetString || !community ||
        community->GetOctets() != expected) {
        reply.note += ": ignored (wrong community)";
        return reply;
    }
    if (type != kBerTagGetRequestPdu && type != kBerTagGetNextRequestPdu &&
        type != kBerTagSetRequestPdu) {
        reply.note += ": ignored (not a request)";
        return reply;
    }

    CSnmpMessage answer;
    answer.SetPduType(kBerTagGetResponsePdu);
    answer.Community().CopyFrom(request.Community());
    answer.Pdu().RequestId().CopyFrom(request.Pdu().RequestId());
    std::size_t failedIndex = 0;  // 1-based; 0: none
    for (std::size_t i = 0; i < asked.GetCount() && failedIndex == 0; ++i) {
        const ObjectId name = ArcsOf(asked.GetAt(i));
        CSnmpVarbind* varbind = answer.Varbinds().Add();
        auto found = printer.objects.end();
        if (type == kBerTagGetRequestPdu) {
            found = printer.objects.find(name);
        } else if (type == kBerTagGetNextRequestPdu) {
            found = printer.objects.upper_bound(name);
        }
        if (found == printer.objects.end()) {
            failedIndex = i + 1;
            break;
        }
        varbind->Name().SetFromText(xomplatform::FromUtf8(ObjectIdText(found->first)));
        SetValue(varbind->Value(), found->second);
    }
    if (failedIndex != 0) {
        // noSuchName: the request's varbinds come back as they were asked, with Null values.
        answer.Varbinds().RemoveAll();
        for (std::size_t i = 0; i < asked.GetCount(); ++i) {
            CSnmpVarbind* varbind = answer.Varbinds().Add();
            varbind->Name().CopyFrom(asked.GetAt(i).Name());
            varbind->Value().SetNull();
        }
        answer.Pdu().ErrorStatus().SetInteger32(kNoSuchName);
        answer.Pdu().ErrorIndex().SetInteger32(static_cast<std::int32_t>(failedIndex));
    }
    if (!Encode(answer, reply.datagram)) {
        reply.note += ": ignored (the answer does not encode)";
        return reply;
    }
    reply.answer = true;
    reply.note += failedIndex != 0 ? ": noSuchName (index " + std::to_string(failedIndex) + ")"
                                   : ": answered";
    return reply;
}

}  // namespace xomsim
