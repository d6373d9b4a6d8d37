#include "juxcommoncode/JuxSerialize/JuxSerializingBuffer.h"

#include <gtest/gtest.h>
#include <sys/uio.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace JuxNetwork {
namespace {

// The block list is handed to vectored socket calls as it is: keep the WSABUF layout.
static_assert(offsetof(JuxSocketBuffer, len) == 0);
static_assert(sizeof(JuxSocketBuffer::len) == 4);
static_assert(offsetof(JuxSocketBuffer, buf) == alignof(char*));

std::vector<char> Pattern(std::size_t n, int seed = 0) {
    std::vector<char> bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 31 + seed) & 0xFF);
    return bytes;
}

// Refuses block memory once `allowed` blocks were handed out, or only for the block numbered
// `failOnly` when that is set.
class FailingBuffer : public CJuxSerializingBuffer {
  public:
    int allowed = 1 << 30;
    int failOnly = -1;
    int calls = 0;

  protected:
    char* AllocateBlockMemory(std::uint32_t size) override {
        const int n = calls++;
        if (n == failOnly || n >= allowed) return nullptr;
        return CJuxSerializingBuffer::AllocateBlockMemory(size);
    }
};

TEST(JuxSerializingBuffer, FillingFirstBlockExactlyKeepsOneBlockNextByteUsesNextSize) {
    CJuxSerializingBuffer buffer;
    buffer.SetFirstBlockSize(16);
    buffer.SetNextBlockSize(64);
    ASSERT_EQ(buffer.StartWriteTo(), kS_OK);
    auto bytes = Pattern(17);
    ASSERT_EQ(buffer.WriteBytes(bytes.data(), 16), kS_OK);
    EXPECT_EQ(buffer.GetBlockCount(), 1u);
    EXPECT_EQ(buffer.GetBuffInfoList()[0].allocatedSize, 16u);

    ASSERT_EQ(buffer.WriteBytes(bytes.data() + 16, 1), kS_OK);
    ASSERT_EQ(buffer.GetBlockCount(), 2u);
    EXPECT_EQ(buffer.GetBuffInfoList()[1].allocatedSize, 64u);
    EXPECT_EQ(buffer.GetBlockList()[1].len, 1u);
    EXPECT_EQ(buffer.GetWriteIndex(), 1);
    EXPECT_EQ(buffer.GetDataSize(), 17u);
}

TEST(JuxSerializingBuffer, RoundTripAcrossBlocksInUnevenPieces) {
    CJuxSerializingBuffer buffer;
    buffer.SetFirstBlockSize(7);
    buffer.SetNextBlockSize(13);
    ASSERT_EQ(buffer.StartWriteTo(), kS_OK);
    const auto bytes = Pattern(1000, 5);
    std::size_t done = 0;
    for (std::size_t piece = 1; done < bytes.size(); piece = piece % 40 + 3) {
        const std::size_t n = std::min(piece, bytes.size() - done);
        ASSERT_EQ(buffer.WriteBytes(bytes.data() + done, n), kS_OK);
        done += n;
    }
    EXPECT_EQ(buffer.GetDataSize(), 1000u);

    ASSERT_EQ(buffer.StartReadFrom(), kS_OK);
    EXPECT_FALSE(buffer.IsStoring());
    std::vector<char> back(1000);
    done = 0;
    for (std::size_t piece = 2; done < back.size(); piece = piece % 29 + 5) {
        const std::size_t n = std::min(piece, back.size() - done);
        ASSERT_EQ(buffer.ReadBytes(back.data() + done, n), kS_OK);
        done += n;
        EXPECT_EQ(buffer.GetPosition(), done);
    }
    EXPECT_EQ(back, bytes);
    EXPECT_EQ(buffer.GetResult(), kS_OK);
}

TEST(JuxSerializingBuffer, StartWriteToEmptiesAndReusesBlocks) {
    CJuxSerializingBuffer buffer;
    buffer.SetFirstBlockSize(8);
    buffer.SetNextBlockSize(8);
    ASSERT_EQ(buffer.StartWriteTo(), kS_OK);
    const auto first = Pattern(40, 1);
    ASSERT_EQ(buffer.WriteBytes(first.data(), first.size()), kS_OK);
    ASSERT_EQ(buffer.GetBlockCount(), 5u);
    const char* block0 = buffer.GetBlockList()[0].buf;

    ASSERT_EQ(buffer.StartWriteTo(), kS_OK);
    EXPECT_EQ(buffer.GetDataSize(), 0u);
    EXPECT_EQ(buffer.GetUsedBlockCount(), 1u);
    EXPECT_TRUE(buffer.IsStoring());

    const auto second = Pattern(20, 2);
    ASSERT_EQ(buffer.WriteBytes(second.data(), second.size()), kS_OK);
    EXPECT_EQ(buffer.GetBlockCount(), 5u) << "old blocks are reused, not added";
    EXPECT_EQ(buffer.GetBlockList()[0].buf, block0) << "blocks never move";
    EXPECT_EQ(buffer.GetDataSize(), 20u);

    // Blocks beyond the new message hold no data, so the read ends with the message.
    ASSERT_EQ(buffer.StartReadFrom(), kS_OK);
    std::vector<char> back(20);
    ASSERT_EQ(buffer.ReadBytes(back.data(), back.size()), kS_OK);
    EXPECT_EQ(back, second);
    char extra = 0;
    EXPECT_EQ(buffer.ReadBytes(&extra, 1), kE_OUTOFMEMORY);
}

TEST(JuxSerializingBuffer, ReadingPastTheEndFailsWhetherLastBlockIsFullOrNot) {
    for (std::size_t written : {16u, 10u}) {  // last block full / last block with room left
        SCOPED_TRACE(written);
        CJuxSerializingBuffer buffer;
        buffer.SetFirstBlockSize(8);
        buffer.SetNextBlockSize(8);
        ASSERT_EQ(buffer.StartWriteTo(), kS_OK);
        const auto bytes = Pattern(written);
        ASSERT_EQ(buffer.WriteBytes(bytes.data(), bytes.size()), kS_OK);
        ASSERT_EQ(buffer.StartReadFrom(), kS_OK);

        std::vector<char> back(written + 1, '\x7f');
        EXPECT_EQ(buffer.ReadBytes(back.data(), back.size()), kE_OUTOFMEMORY);
        EXPECT_EQ(buffer.GetResult(), kE_OUTOFMEMORY);
        EXPECT_EQ(buffer.GetErrorText(),
                  L"Attempted to read beyond available buffer size, JuxSerialize "
                  L"CJuxSerializingBuffer::ReadBytes 828");
        // What could be read was copied.
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), back.begin()));
        EXPECT_EQ(buffer.GetPosition(), written);
    }
}

TEST(JuxSerializingBuffer, StartReadFromWithoutAnyBlockFails) {
    CJuxSerializingBuffer buffer;
    EXPECT_EQ(buffer.StartReadFrom(), kE_OUTOFMEMORY);
    EXPECT_EQ(buffer.GetErrorText(),
              L"Attempted to read beyond available buffer size, JuxSerialize "
              L"CJuxSerializingBuffer::StartReadFrom 784");
    char c = 0;
    EXPECT_EQ(buffer.ReadBytes(&c, 1), kE_OUTOFMEMORY);
    EXPECT_EQ(buffer.GetPosition(), 0u);
    EXPECT_EQ(buffer.GetDataSize(), 0u);
}

TEST(JuxSerializingBuffer, ReserveForReceiveFillsWholeBlocksAndSetDataSizeMarksTheReceivedBytes) {
    CJuxSerializingBuffer buffer;
    ASSERT_EQ(buffer.ReserveForReceive(4096), kS_OK);
    ASSERT_EQ(buffer.GetBlockCount(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(buffer.GetBlockList()[i].len, 1024u);

    // A scatter read delivering 1500 bytes into the list.
    const auto bytes = Pattern(1500, 9);
    std::vector<iovec> iov;
    ASSERT_EQ(buffer.FillIovecs(iov, buffer.GetBlockCount()), 4u);
    std::memcpy(iov[0].iov_base, bytes.data(), 1024);
    std::memcpy(iov[1].iov_base, bytes.data() + 1024, 476);
    ASSERT_TRUE(buffer.SetDataSize(1500));
    EXPECT_EQ(buffer.GetDataSize(), 1500u);
    EXPECT_EQ(buffer.GetUsedBlockCount(), 2u);

    ASSERT_EQ(buffer.StartReadFrom(), kS_OK);
    std::vector<char> back(1500);
    ASSERT_EQ(buffer.ReadBytes(back.data(), back.size()), kS_OK);
    EXPECT_EQ(back, bytes);
    char c = 0;
    EXPECT_EQ(buffer.ReadBytes(&c, 1), kE_OUTOFMEMORY);

    EXPECT_FALSE(buffer.SetDataSize(4097)) << "more than the blocks can hold";
    EXPECT_EQ(buffer.GetDataSize(), 1500u);
    ASSERT_EQ(buffer.ReserveForReceive(0), kS_OK);
    EXPECT_EQ(buffer.GetBlockCount(), 4u);
    EXPECT_EQ(buffer.GetBlockList()[3].len, 1024u);
}

TEST(JuxSerializingBuffer, AllocationFailureKeepsWhatWasWrittenAndBufferStaysUsable) {
    FailingBuffer buffer;
    buffer.SetFirstBlockSize(8);
    buffer.SetNextBlockSize(8);
    buffer.allowed = 2;
    ASSERT_EQ(buffer.StartWriteTo(), kS_OK);
    const auto bytes = Pattern(20);
    EXPECT_EQ(buffer.WriteBytes(bytes.data(), bytes.size()), kE_OUTOFMEMORY);
    EXPECT_EQ(
        buffer.GetErrorText(),
        L"Failure to allocate memory, JuxSerialize CJuxSerializingBuffer::AllocateNextBuffer 583");
    EXPECT_EQ(buffer.GetDataSize(), 16u);
    EXPECT_EQ(buffer.GetBlockCount(), 3u) << "the failed entry stays in the list";

    ASSERT_EQ(buffer.StartReadFrom(), kS_OK);
    std::vector<char> back(16);
    ASSERT_EQ(buffer.ReadBytes(back.data(), back.size()), kS_OK);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), bytes.begin()));

    // Memory comes back: the next message writes past the empty entry and reads skip it.
    buffer.allowed = 1 << 30;
    ASSERT_EQ(buffer.StartWriteTo(), kS_OK);
    ASSERT_EQ(buffer.WriteBytes(bytes.data(), bytes.size()), kS_OK);
    EXPECT_EQ(buffer.GetDataSize(), 20u);
    ASSERT_EQ(buffer.StartReadFrom(), kS_OK);
    std::vector<char> all(20);
    ASSERT_EQ(buffer.ReadBytes(all.data(), all.size()), kS_OK);
    EXPECT_EQ(all, bytes);
}

TEST(JuxSerializingBuffer, StartWriteToReportsFailedInitialBlock) {
    FailingBuffer buffer;
    buffer.allowed = 0;
    EXPECT_EQ(buffer.StartWriteTo(), kE_OUTOFMEMORY);
    EXPECT_EQ(buffer.GetErrorText(), L"StartWriteTo() failue to allocate initial buffer.");
}

TEST(JuxSerializingBuffer, ReserveForReceiveReportsAllocationFailure) {
    FailingBuffer buffer;
    buffer.allowed = 2;
    EXPECT_EQ(buffer.ReserveForReceive(4096), kE_OUTOFMEMORY);
    EXPECT_EQ(buffer.GetResult(), kE_OUTOFMEMORY);
}

TEST(JuxSerializingBuffer, GatherListCoversTheWrittenMessage) {
    CJuxSerializingBuffer buffer;
    buffer.SetFirstBlockSize(100);
    buffer.SetNextBlockSize(50);
    ASSERT_EQ(buffer.StartWriteTo(), kS_OK);
    const auto bytes = Pattern(180, 3);
    ASSERT_EQ(buffer.WriteBytes(bytes.data(), bytes.size()), kS_OK);
    std::vector<iovec> iov;
    ASSERT_EQ(buffer.FillIovecs(iov, buffer.GetUsedBlockCount()), 3u);
    std::string gathered;
    for (const iovec& v : iov) gathered.append(static_cast<const char*>(v.iov_base), v.iov_len);
    EXPECT_EQ(gathered, std::string(bytes.begin(), bytes.end()));
}

}  // namespace
}  // namespace JuxNetwork
