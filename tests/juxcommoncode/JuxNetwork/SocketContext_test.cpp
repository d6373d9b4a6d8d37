#include "juxcommoncode/JuxNetwork/SocketContext.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "NetworkTestPeers.h"
#include "juxcommoncode/JuxNetwork/NetIpIoManager.h"

namespace {

using JuxNetwork::CIoContext;
using JuxNetwork::CSocketContext;
using std::chrono::seconds;

class SocketContextTest : public testing::Test {
  protected:
    void SetUp() override {
        JuxNetwork::NetIpIoManagerOptions options;
        options.printerPort = m_listener.Port();
        options.processorCount = 2;
        m_manager = std::make_unique<JuxNetwork::CNetIpIoManager>(options);
        ASSERT_TRUE(m_manager->Start());
    }

    // A connection to the test listener and the reader of its other end.
    CSocketContext* Connect() {
        JuxNetwork::JUX_IP_ADDRESS printer;
        EXPECT_TRUE(printer.Set(L"127.0.0.1:631"));
        CSocketContext* context = m_manager->ConnectTcp(printer);
        if (context != nullptr) m_reader = std::make_unique<JobReader>(m_listener.Accept());
        return context;
    }

    TcpListener m_listener;
    std::unique_ptr<JobReader> m_reader;
    // Destroyed first: stopping closes the connection, which ends the reader.
    std::unique_ptr<JuxNetwork::CNetIpIoManager> m_manager;
};

TEST_F(SocketContextTest, IoContextsArePooledAndTakeTheContextsChunkSizes) {
    CSocketContext* tcp = Connect();
    ASSERT_NE(tcp, nullptr);
    CIoContext* first = tcp->GetIoContext(CIoContext::kTcpBuffer);
    CIoContext* second = tcp->GetIoContext(CIoContext::kTcpBuffer);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->Owner(), tcp);
    EXPECT_EQ(first->Buffer().GetFirstBlockSize(), 8192u);
    EXPECT_EQ(first->Buffer().GetNextBlockSize(), 8192u);
    FillJob(*first, 0, 100);
    first->m_peerAddress.Set(L"10.0.0.1");
    first->SetFree();
    // A free context is taken again, emptied.
    CIoContext* again = tcp->GetIoContext(CIoContext::kTcpBuffer);
    EXPECT_EQ(again, first);
    EXPECT_EQ(again->Buffer().GetDataSize(), 0u);
    EXPECT_TRUE(again->m_peerAddress.IsUnspecified());
    EXPECT_EQ(again->m_peerAddressLength, 28);
    EXPECT_EQ(tcp->GetIoContextCount(), 2u);
    second->SetFree();
    tcp->FreeIdleIoContexts();
    EXPECT_EQ(tcp->GetIoContextCount(), 1u);

    CSocketContext* udp = m_manager->CreateUdpSocket(LoopbackAdapter(), false);
    ASSERT_NE(udp, nullptr);
    EXPECT_EQ(udp->GetIoContext(CIoContext::kUdpSend)->Buffer().GetFirstBlockSize(), 1024u);
}

// Many contexts in use, some set free in between, some deleted as idle: a free one is always
// taken again (the first free in the list) before a new one is made.
TEST_F(SocketContextTest, AFreeContextAmongManyInUseIsTakenBeforeANewOne) {
    CSocketContext* tcp = Connect();
    ASSERT_NE(tcp, nullptr);
    std::vector<CIoContext*> taken;
    taken.reserve(1000);
    for (int i = 0; i < 1000; ++i) taken.push_back(tcp->GetIoContext(CIoContext::kTcpBuffer));
    taken[700]->SetFree();
    taken[300]->SetOperation(CIoContext::kFree);
    EXPECT_EQ(tcp->GetIoContext(CIoContext::kTcpBuffer), taken[300]);
    EXPECT_EQ(tcp->GetIoContext(CIoContext::kTcpBuffer), taken[700]);
    EXPECT_EQ(tcp->GetIoContextCount(), 1000u);
    // Idle ones deleted: none is left free, so the next is new.
    for (int i = 0; i < 1000; i += 2) taken[i]->SetFree();
    tcp->FreeIdleIoContexts();
    EXPECT_EQ(tcp->GetIoContextCount(), 500u);
    CIoContext* fresh = tcp->GetIoContext(CIoContext::kTcpSend);
    EXPECT_EQ(tcp->GetIoContextCount(), 501u);
    fresh->SetFree();
    taken[1]->SetFree();
    EXPECT_EQ(tcp->GetIoContext(CIoContext::kTcpBuffer), taken[1]) << "first free in the list";
    EXPECT_EQ(tcp->GetIoContext(CIoContext::kTcpBuffer), fresh);
    EXPECT_EQ(tcp->GetIoContextCount(), 501u);
}

TEST_F(SocketContextTest, SendRefusesWhatItCannotSendWithoutStartingIt) {
    CSocketContext* tcp = Connect();
    ASSERT_NE(tcp, nullptr);
    CIoContext* io = tcp->GetIoContext(CIoContext::kTcpBuffer);
    EXPECT_EQ(tcp->Send(nullptr, CIoContext::kTcpSend), JuxNetwork::kSendBadArguments);
    FillJob(*io, 0, 10);
    EXPECT_EQ(tcp->Send(io, CIoContext::kUdpReceive), JuxNetwork::kSendBadArguments);
    EXPECT_EQ(tcp->Send(io, CIoContext::kTcpBuffer), JuxNetwork::kSendBadArguments);
    CIoContext* empty = tcp->GetIoContext(CIoContext::kTcpBuffer);
    EXPECT_EQ(tcp->Send(empty, CIoContext::kTcpLastSend), JuxNetwork::kSendBufferEmpty);
    io->Buffer().SetError(JuxNetwork::kE_OUTOFMEMORY, L"WriteBytes() could not grow the buffer");
    EXPECT_EQ(tcp->Send(io, CIoContext::kTcpLastSend), JuxNetwork::kSendBufferInError);
    EXPECT_EQ(io->GetOperation(), CIoContext::kTcpBuffer);
    tcp->Close();
    EXPECT_EQ(m_reader->Finish().size(), 0u) << "nothing may have reached the printer";
}

TEST_F(SocketContextTest, SendOnAClosedConnectionFailsAndFreesItsContext) {
    CSocketContext* tcp = Connect();
    ASSERT_NE(tcp, nullptr);
    tcp->Close();
    EXPECT_TRUE(tcp->IsClosed());
    tcp->Close();  // a second close does nothing
    tcp->CloseSocket();
    CIoContext* io = tcp->GetIoContext(CIoContext::kTcpBuffer);
    FillJob(*io, 0, 10);
    EXPECT_NE(tcp->Send(io, CIoContext::kTcpLastSend), 0u);
    EXPECT_TRUE(io->IsFree());
}

// Many buffers submitted at once leave whole and in order, though the socket takes each in pieces;
// the last one's completion closes the connection and reports the job sent.
TEST_F(SocketContextTest, ManySendsInFlightArriveWholeAndInOrder) {
    CSocketContext* tcp = Connect();
    ASSERT_NE(tcp, nullptr);
    tcp->GetNoticeEvent().Reset();
    constexpr std::size_t kBuffers = 40;
    constexpr std::size_t kBufferSize = 200 * 1024 + 17;
    for (std::size_t i = 0; i < kBuffers; ++i) {
        CIoContext* io = tcp->GetIoContext(CIoContext::kTcpBuffer);
        FillJob(*io, i * kBufferSize, kBufferSize);
        const auto operation = i + 1 == kBuffers ? CIoContext::kTcpLastSend : CIoContext::kTcpSend;
        ASSERT_EQ(tcp->Send(io, operation), 0u) << "buffer " << i;
    }
    const std::vector<std::uint8_t>& received = m_reader->Finish();
    ASSERT_EQ(received.size(), kBuffers * kBufferSize);
    for (std::size_t i = 0; i < received.size(); ++i) {
        ASSERT_EQ(received[i], JobOctet(i)) << "first difference at octet " << i;
    }
    ASSERT_TRUE(tcp->GetNoticeEvent().WaitFor(seconds(10)));
    EXPECT_EQ(tcp->GetNoticeStatus(), CSocketContext::kNoticeJobSent);
    EXPECT_TRUE(tcp->IsClosed());
    EXPECT_EQ(tcp->GetBusyIoContextCount(), 0u);
}

TEST_F(SocketContextTest, APrinterThatResetsTheConnectionEndsTheJobAsFailed) {
    JuxNetwork::JUX_IP_ADDRESS printer;
    ASSERT_TRUE(printer.Set(L"127.0.0.1"));
    CSocketContext* tcp = m_manager->ConnectTcp(printer);
    ASSERT_NE(tcp, nullptr);
    JobReader resetting(m_listener.Accept(), 64 * 1024);
    tcp->GetNoticeEvent().Reset();
    for (int i = 0; i < 16; ++i) {
        CIoContext* io = tcp->GetIoContext(CIoContext::kTcpBuffer);
        FillJob(*io, 0, 1024 * 1024);
        tcp->Send(io, i == 15 ? CIoContext::kTcpLastSend : CIoContext::kTcpSend);
    }
    ASSERT_TRUE(tcp->GetNoticeEvent().WaitFor(seconds(10)));
    EXPECT_EQ(tcp->GetNoticeStatus(), CSocketContext::kNoticeIoFailed);
    EXPECT_TRUE(tcp->IsClosed());
    // Every buffer comes back to the pool: none stays counted as in flight.
    for (int i = 0; i < 100 && tcp->GetBusyIoContextCount() != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(tcp->GetBusyIoContextCount(), 0u);
}

}  // namespace
