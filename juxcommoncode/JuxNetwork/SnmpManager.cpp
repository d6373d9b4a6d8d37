#include "juxcommoncode/JuxNetwork/SnmpManager.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "juxcommoncode/JuxNetwork/NetworkTrace.h"
#include "juxcommoncode/Snmp/BerDataObjIdString.h"
#include "juxcommoncode/Snmp/BerTags.h"

namespace JuxNetwork {

namespace {

constexpr const wchar_t* kSysDescr = L"1.3.6.1.2.1.1.1.0";
constexpr const wchar_t* kSysName = L"1.3.6.1.2.1.1.5.0";
constexpr const wchar_t* kSysLocation = L"1.3.6.1.2.1.1.6.0";

// The arcs of an identifier text, parsed once.
const std::vector<std::uint32_t>& Arcs(const wchar_t* text) {
    static std::mutex lock;
    static std::vector<std::pair<const wchar_t*, std::vector<std::uint32_t>>> known;
    std::lock_guard<std::mutex> guard(lock);
    for (const auto& [name, arcs] : known)
        if (name == text) return arcs;
    CBerDataObjIdString oid;
    oid.SetFromText(text);
    known.emplace_back(text, oid.GetArcs());
    return known.back().second;
}

bool NameIs(const CSnmpVarbind& varbind, const wchar_t* text) {
    const auto* oid = varbind.Name().GetDataAs<CBerDataObjIdString>();
    return oid != nullptr && oid->GetArcs() == Arcs(text);
}

// Same family and address octets; ports and scopes are not compared.
bool SameHost(const JUX_IP_ADDRESS& a, const JUX_IP_ADDRESS& b) {
    if (a.family != b.family) return false;
    if (a.family == JUX_IP_ADDRESS::kFamilyIpv4) return std::memcmp(a.Ipv4(), b.Ipv4(), 4) == 0;
    if (a.family == JUX_IP_ADDRESS::kFamilyIpv6) return std::memcmp(a.Ipv6(), b.Ipv6(), 16) == 0;
    return false;
}

}  // namespace

CSnmpManager::CSnmpManager(NetIpIoManagerOptions options, SnmpManagerOptions snmp)
    : CNetIpIoManager(std::move(options)), m_snmp(snmp) {}

CSnmpManager::~CSnmpManager() {
    // No worker may run this class's code once it is gone.
    Stop();
    std::lock_guard<std::mutex> guard(m_agentLock);
    m_agents.clear();
}

bool CSnmpManager::ReadDatagram(CJuxSerializingBuffer& buffer, std::uint64_t octets,
                                CSnmpMessage& message) {
    // A datagram that fills the whole receive buffer may have been cut by it.
    if (octets == 0 || octets >= CSocketContext::kReceiveCapacity) return false;
    if (!buffer.SetDataSize(octets) || Failed(buffer.StartReadFrom())) return false;
    message.SetReadLimit(octets);
    if (Failed(message.Serialize(buffer))) return false;
    return buffer.GetPosition() == octets;
}

std::vector<std::uint8_t> CSnmpManager::MagicPacket(const OctetArray& physicalAddress) {
    std::vector<std::uint8_t> packet(6, 0xFF);
    packet.reserve(6 + 16 * physicalAddress.size());
    for (int i = 0; i < 16; ++i)
        packet.insert(packet.end(), physicalAddress.begin(), physicalAddress.end());
    return packet;
}

void CSnmpManager::SetCommunity(const std::wstring& community) {
    std::lock_guard<std::mutex> guard(m_requestLock);
    m_community = community;
}

std::wstring CSnmpManager::GetCommunity() const {
    std::lock_guard<std::mutex> guard(m_requestLock);
    return m_community;
}

std::int32_t CSnmpManager::GetRequestCounter() const {
    std::lock_guard<std::mutex> guard(m_requestLock);
    return m_requestCounter;
}

void CSnmpManager::SetRequestCounter(std::int32_t counter) {
    std::lock_guard<std::mutex> guard(m_requestLock);
    m_requestCounter = counter;
}

std::vector<CSnmpAgent> CSnmpManager::GetAgents() const {
    std::lock_guard<std::mutex> guard(m_agentLock);
    std::vector<CSnmpAgent> agents;
    agents.reserve(m_agents.size());
    for (const auto& agent : m_agents) agents.push_back(*agent);
    return agents;
}

bool CSnmpManager::SetAgentPhysicalAddress(const JUX_IP_ADDRESS& address,
                                           const OctetArray& physicalAddress) {
    std::lock_guard<std::mutex> guard(m_agentLock);
    for (const auto& agent : m_agents) {
        if (SameHost(agent->m_address, address)) {
            agent->m_physicalAddress = physicalAddress;
            return true;
        }
    }
    return false;
}

CSocketContext* CSnmpManager::OpenBroadcastSocket(const CAdapterInterface& adapter,
                                                  std::uint16_t port) {
    CSocketContext* context = CreateUdpSocket(adapter, true);
    if (context == nullptr) return nullptr;
    context->m_remoteAddress = adapter.m_broadcastAddress;
    context->m_remoteAddress.SetPort(port);
    return context;
}

bool CSnmpManager::SendDatagramFrom(CSocketContext& context, CIoContext* io,
                                    const wchar_t* caller) {
    const std::uint32_t code = context.SendDatagram(io);
    if (code == 0) return true;
    TraceSocketError(
        std::wstring(L"\n") + caller + L" cannot send to " + context.m_remoteAddress.ToText(),
        static_cast<int>(code));
    io->SetFree();
    return false;
}

HRESULT CSnmpManager::Discover() {
    PurgeSocketContexts();
    if (!RefreshAdapters() || GetAdapters().empty()) return kE_FAIL;
    CSnmpMessage request;
    request.SetPduType(kBerTagGetRequestPdu);
    request.SetRequestId(kDiscoveryRequestId);
    request.SetCommunity(GetCommunity());
    for (const wchar_t* name : {kSysDescr, kSysName, kSysLocation}) request.AddVarbind(name);
    TraceNetwork(request.ToText("Discovery msg"));

    std::vector<CSocketContext*> opened;
    for (const auto& adapter : GetAdapters()) {
        CSocketContext* context = OpenBroadcastSocket(*adapter, m_snmp.agentPort);
        if (context == nullptr) continue;
        opened.push_back(context);
        context->StartReceive();
        context->StartReceive();
        CIoContext* io = context->GetIoContext(CIoContext::kUdpSend);
        if (Failed(io->Buffer().StartWriteTo()) || Failed(request.Serialize(io->Buffer()))) {
            io->SetFree();
            continue;
        }
        SendDatagramFrom(*context, io, L"Discover()");
    }
    std::this_thread::sleep_for(m_snmp.discoveryWindow);
    for (CSocketContext* context : opened) context->Close();
    return kS_OK;
}

void CSnmpManager::ProcessDiscoveryResponse(const CSnmpMessage& message,
                                            const JUX_IP_ADDRESS& sender) {
    std::lock_guard<std::mutex> guard(m_agentLock);
    auto found = std::find_if(m_agents.begin(), m_agents.end(), [&](const auto& agent) {
        return SameHost(agent->m_address, sender);
    });
    CSnmpAgent* agent = nullptr;
    if (found != m_agents.end()) {
        agent = found->get();
    } else {
        if (m_agents.size() >= kMaxAgents) {
            TraceNetwork(L"\nDiscovery answer from " + sender.ToAddressText() +
                         L" dropped: the agent list is full");
            return;
        }
        m_agents.push_back(std::make_unique<CSnmpAgent>());
        agent = m_agents.back().get();
        agent->m_address = sender;
        agent->m_address.SetPort(0);
        if (sender.family == JUX_IP_ADDRESS::kFamilyIpv6) agent->m_address.SetScopeId(0);
    }
    agent->m_community = message.Community().ValueText();
    const CSnmpVarbindList& varbinds = message.Varbinds();
    for (std::size_t i = 0; i < varbinds.GetCount(); ++i) {
        const CSnmpVarbind& varbind = varbinds.GetAt(i);
        if (NameIs(varbind, kSysDescr))
            agent->m_sysDescription = varbind.Value().ValueText();
        else if (NameIs(varbind, kSysName))
            agent->m_sysName = varbind.Value().ValueText();
        else if (NameIs(varbind, kSysLocation))
            agent->m_sysLocation = varbind.Value().ValueText();
    }
}

CSocketContext* CSnmpManager::OpenAgentSocket(const JUX_IP_ADDRESS& address) {
    if (address.IsUnspecified()) return nullptr;
    JUX_IP_ADDRESS agent = address;
    agent.SetPort(m_snmp.agentPort);
    RefreshAdapters();
    const CAdapterInterface* adapter = FindAdapterFor(agent);
    if (adapter == nullptr) return nullptr;
    CSocketContext* context = CreateUdpSocket(*adapter, false);
    if (context == nullptr) return nullptr;
    context->m_remoteAddress = agent;
    context->StartReceive();
    context->StartReceive();
    return context;
}

std::int32_t CSnmpManager::BeginRequest() {
    std::lock_guard<std::mutex> guard(m_requestLock);
    if (++m_requestCounter > kLastRequestId) m_requestCounter = kFirstRequestId;
    m_requestPending = true;
    return m_requestCounter;
}

bool CSnmpManager::TakeAnswer(std::int32_t id, const CSocketContext& context,
                              const JUX_IP_ADDRESS& sender) {
    // Only the agent asked may answer: another host that guessed the id is not it.
    if (!SameHost(sender, context.m_remoteAddress) ||
        sender.Port() != context.m_remoteAddress.Port()) {
        return false;
    }
    std::lock_guard<std::mutex> guard(m_requestLock);
    if (!m_requestPending || id != m_requestCounter) return false;
    m_requestPending = false;
    return true;
}

void CSnmpManager::EndRequest() {
    std::lock_guard<std::mutex> guard(m_requestLock);
    m_requestPending = false;
}

HRESULT CSnmpManager::SendRequest(CSocketContext& context, CSnmpMessage& request,
                                  CSnmpMessage& response) {
    if (context.m_remoteAddress.IsUnspecified()) return kE_FAIL;
    const std::int32_t id = BeginRequest();
    if (request.Pdu().RequestId().GetTag() == kBerTagInteger32) request.SetRequestId(id);
    context.GetNoticeEvent().Reset();
    for (int attempt = 0; attempt < m_snmp.tries; ++attempt) {
        CIoContext* io = context.GetIoContext(CIoContext::kUdpSend);
        if (Failed(io->Buffer().StartWriteTo()) || Failed(request.Serialize(io->Buffer()))) {
            io->SetFree();
            EndRequest();
            return kE_FAIL;
        }
        if (!SendDatagramFrom(context, io, L"SendRequest()")) {
            EndRequest();
            return kE_FAIL;
        }
        if (!context.GetNoticeEvent().WaitFor(m_snmp.responseTimeout)) continue;
        if (context.GetNoticeStatus() != CSocketContext::kNoticeResponseHeld) {
            EndRequest();
            return kE_FAIL;
        }
        CIoContext* held = context.GetHandedOverIoContext();
        const bool read =
            held != nullptr && ReadDatagram(held->Buffer(), held->Buffer().GetDataSize(), response);
        if (held != nullptr) held->SetFree();
        return read ? kS_OK : kE_FAIL;
    }
    // Given up: an answer that comes now is no longer waited for (it would be held for nobody).
    EndRequest();
    return kE_FAIL;
}

void CSnmpManager::OnDatagramReceived(CSocketContext& context, CIoContext& io, std::size_t octets) {
    CSnmpMessage message;
    std::int32_t id = 0;
    if (!ReadDatagram(io.Buffer(), octets, message) ||
        message.GetPduType() != kBerTagGetResponsePdu ||
        !CSnmpMessage::GetIntegerValue(message.Pdu().RequestId(), id)) {
        io.SetFree();
        return;
    }
    if (id == kDiscoveryRequestId) {
        ProcessDiscoveryResponse(message, io.m_peerAddress);
        io.SetFree();
        return;
    }
    if (id >= kFirstRequestId && id <= kLastRequestId) {
        if (TakeAnswer(id, context, io.m_peerAddress)) {
            io.SetOperation(CIoContext::kHeldResponse);
            context.Notify(CSocketContext::kNoticeResponseHeld, &io);
            return;
        }
        TraceNetwork(message.ToText("\nRequestID Check FAILED"));
        io.SetFree();
        return;
    }
    TraceNetwork(message.ToText());
    io.SetFree();
}

bool CSnmpManager::WakePrinter(const OctetArray& physicalAddress) {
    if (physicalAddress.empty()) return false;
    const std::vector<std::uint8_t> packet = MagicPacket(physicalAddress);
    return SendBroadcastDatagram(packet.data(), packet.size());
}

bool CSnmpManager::SendBroadcastDatagram(const std::uint8_t* octets, std::size_t count) {
    PurgeSocketContexts();
    if (!RefreshAdapters() || GetAdapters().empty()) return false;
    bool sent = false;
    std::vector<CSocketContext*> opened;
    for (const auto& adapter : GetAdapters()) {
        CSocketContext* context = OpenBroadcastSocket(*adapter, m_snmp.wakePort);
        if (context == nullptr) continue;
        opened.push_back(context);
        CIoContext* io = context->GetIoContext(CIoContext::kUdpSend);
        if (Failed(io->Buffer().StartWriteTo()) || Failed(io->Buffer().WriteBytes(octets, count))) {
            io->SetFree();
            continue;
        }
        sent = SendDatagramFrom(*context, io, L"SendBroadcastDatagram()") || sent;
    }
    // The datagrams are on their way once sent; a plain close lets the system deliver them.
    for (CSocketContext* context : opened) context->CloseSocket();
    return sent;
}

}  // namespace JuxNetwork
