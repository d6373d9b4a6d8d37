#include "Common/xomOutput/OutputChannel.h"

#include <gtest/gtest.h>

#include "Common/xomOutput/DirectChannel.h"

namespace {

class OutputChannelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetOutputState();
        SetOutputDevice(nullptr);
    }
    void TearDown() override { ResetOutputState(); }
};

TEST_F(OutputChannelTest, DiagnosticLinesNameSourceOperationAndLine) {
    EXPECT_EQ(DiagnosticLine("..\\..\\Common\\XOM", "XOM_Driver::end_picture", 1661),
              L"\n..\\..\\Common\\XOM::XOM_Driver::end_picture::1661");
}

TEST_F(OutputChannelTest, DirectSendWithoutConnectionFailsOnceWithoutMessage) {
    SelectDirectChannel();
    EXPECT_EQ(g_plotStream.byteSender, &XOMppsend) << "the writer sends through the same sender";
    SendText("PS1,1;");
    EXPECT_EQ(OutputErrorState(), kOutputDirectFailed);
    EXPECT_EQ(DiagnosticText(), L"\n..\\..\\Common\\xomOutput::XOMppsend::212");
    SendBytes("SP1", 3);
    EXPECT_EQ(DiagnosticText(), L"\n..\\..\\Common\\xomOutput::XOMppsend::212")
        << "once the state is set, sends are dropped without a further line";
    // An unspecified printer address is never connected.
    EXPECT_FALSE(OpenDirectChannel(JuxNetwork::JUX_IP_ADDRESS{}));
    EXPECT_EQ(DirectConnection(), nullptr);
}

TEST_F(OutputChannelTest, HostSendWithoutDeviceIsAFailureNotSilentLoss) {
    SelectHostChannel();
    EXPECT_EQ(g_plotStream.byteSender, &HostSendBytes);
    SendText("IN;");
    EXPECT_NE(OutputErrorState(), kOutputOk);
}

TEST_F(OutputChannelTest, ResetClearsStateAndText) {
    SetOutputErrorState(3);
    AppendDiagnosticLine("a", "b", 1);
    ResetOutputState();
    EXPECT_EQ(OutputErrorState(), kOutputOk);
    EXPECT_TRUE(DiagnosticText().empty());
}

}  // namespace
