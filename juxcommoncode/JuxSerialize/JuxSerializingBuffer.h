#pragma once
// CJuxSerializingBuffer: a growable chain of memory blocks used as socket send and receive buffer,
// as the print job's send buffer and as an in-memory archive image.
//
// Blocks are only ever appended and never moved or shrunk until the buffer is destroyed, so written
// bytes are never copied again and the block list can be handed unchanged to a gather write or a
// scatter read. A buffer is reused for many messages: StartWriteTo() empties it, StartReadFrom()
// rewinds it for reading.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "juxcommoncode/JuxSerialize/JuxSerializer.h"

struct iovec;

namespace JuxNetwork {

// One entry of the block list, laid out as a Winsock WSABUF (32-bit length, then the pointer), so
// the array is directly a scatter/gather list. len is the number of data bytes held in the block.
struct JuxSocketBuffer {
    std::uint32_t len;
    char* buf;
};

// Bookkeeping of one block, parallel to the block list.
struct CBuffInfo {
    std::uint32_t allocatedSize;  // bytes allocated for the block
    std::uint32_t readPosition;   // bytes of this block already read
};

class CJuxSerializingBuffer : public CJuxSerializer {
  public:
    static constexpr std::uint32_t kDefaultBlockSize = 1024;

    CJuxSerializingBuffer() = default;
    ~CJuxSerializingBuffer() override;
    CJuxSerializingBuffer(const CJuxSerializingBuffer&) = delete;
    CJuxSerializingBuffer& operator=(const CJuxSerializingBuffer&) = delete;

    // Sizes used for blocks allocated from now on; block 0 takes the first size, later blocks the
    // next size. A size of 0 is taken as 1.
    void SetFirstBlockSize(std::uint32_t size) { m_firstBlockSize = size ? size : 1; }
    void SetNextBlockSize(std::uint32_t size) { m_nextBlockSize = size ? size : 1; }
    std::uint32_t GetFirstBlockSize() const { return m_firstBlockSize; }
    std::uint32_t GetNextBlockSize() const { return m_nextBlockSize; }

    // Appends one empty block. On failure the result is kE_OUTOFMEMORY, and an entry with no memory
    // and allocated size 0 stays in both lists (it is skipped by reads and retried by writes).
    HRESULT AllocateNextBuffer();

    // Empties the buffer for a new message and sets storing. Allocates block 0 if there is none.
    HRESULT StartWriteTo();
    // Sets the data length of the blocks as if size bytes had been written from the start (block
    // after block, each up to its allocated size) and puts the write index on the last block that
    // holds data. SetDataSize(0) empties every block. The receive path uses it to mark how many
    // bytes a scatter read delivered. Returns false, changing nothing, when size exceeds the total
    // allocated size.
    bool SetDataSize(std::uint64_t size);
    HRESULT WriteBytes(const void* source, std::size_t count) override;
    // Sum of the data lengths of blocks 0 through the write index (capped at the last block).
    std::uint64_t GetDataSize() const;

    // Rewinds for reading what was written or received. Fails with kE_OUTOFMEMORY with no block.
    HRESULT StartReadFrom();
    // Reads across blocks up to the end of the last block; a short read fails with kE_OUTOFMEMORY
    // and leaves the bytes already copied in destination.
    HRESULT ReadBytes(void* destination, std::size_t count) override;
    // Bytes consumed by reading so far.
    std::uint64_t GetPosition() override;

    // Makes every block's data length its allocated size and appends blocks until the total
    // allocated size reaches capacity, so a scatter read may fill the whole list.
    HRESULT ReserveForReceive(std::uint64_t capacity);

    // The block list (valid until the next call that may allocate) and its length.
    JuxSocketBuffer* GetBlockList() { return m_blocks.data(); }
    const JuxSocketBuffer* GetBlockList() const { return m_blocks.data(); }
    const CBuffInfo* GetBuffInfoList() const { return m_info.data(); }
    std::size_t GetBlockCount() const { return m_blocks.size(); }
    // Blocks 0 through the write index: the gather list of the message written so far.
    std::size_t GetUsedBlockCount() const;
    std::int64_t GetWriteIndex() const { return m_writeIndex; }
    std::int64_t GetReadIndex() const { return m_readIndex; }

    // Fills out with iovec entries for the first blockCount blocks (their data lengths), for the
    // POSIX vectored calls (sendmsg, recvmsg, writev). Returns the number of entries.
    std::size_t FillIovecs(std::vector<struct iovec>& out, std::size_t blockCount) const;

  protected:
    // Memory of one block; null when it cannot be had. Tests override it to force failures.
    virtual char* AllocateBlockMemory(std::uint32_t size);

  private:
    std::vector<JuxSocketBuffer> m_blocks;
    std::uint32_t m_firstBlockSize = kDefaultBlockSize;
    std::uint32_t m_nextBlockSize = kDefaultBlockSize;
    std::vector<CBuffInfo> m_info;
    std::int64_t m_writeIndex = 0;
    std::int64_t m_readIndex = 0;
};

}  // namespace JuxNetwork
