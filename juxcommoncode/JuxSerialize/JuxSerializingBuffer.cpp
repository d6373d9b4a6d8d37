#include "juxcommoncode/JuxSerialize/JuxSerializingBuffer.h"

#include <sys/uio.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace JuxNetwork {

namespace {

// Diagnostic texts name the source, the function and a fixed line number, in that order; the
// numbers are part of the texts callers and logs have always seen.
std::wstring Diagnostic(const wchar_t* message, const wchar_t* function, int line) {
    return std::wstring(message) + L", JuxSerialize " + function + L" " + std::to_wstring(line);
}

}  // namespace

CJuxSerializingBuffer::~CJuxSerializingBuffer() {
    for (JuxSocketBuffer& block : m_blocks) delete[] block.buf;
}

char* CJuxSerializingBuffer::AllocateBlockMemory(std::uint32_t size) {
    return new (std::nothrow) char[size];
}

HRESULT CJuxSerializingBuffer::AllocateNextBuffer() {
    const std::uint32_t size = m_blocks.empty() ? m_firstBlockSize : m_nextBlockSize;
    // Reserve room in both lists first so the two push_backs below cannot fail half-way.
    try {
        if (m_blocks.size() == m_blocks.capacity() || m_info.size() == m_info.capacity()) {
            const std::size_t grown = std::max<std::size_t>(8, m_blocks.size() * 2);
            m_blocks.reserve(grown);
            m_info.reserve(grown);
        }
    } catch (const std::bad_alloc&) {
        SetError(kE_OUTOFMEMORY, Diagnostic(L"Failure to allocate memory",
                                            L"CJuxSerializingBuffer::AllocateNextBuffer", 583));
        return kE_OUTOFMEMORY;
    }
    char* memory = AllocateBlockMemory(size);
    m_blocks.push_back(JuxSocketBuffer{0, memory});
    m_info.push_back(CBuffInfo{memory ? size : 0, 0});
    if (!memory) {
        SetError(kE_OUTOFMEMORY, Diagnostic(L"Failure to allocate memory",
                                            L"CJuxSerializingBuffer::AllocateNextBuffer", 583));
        return kE_OUTOFMEMORY;
    }
    SetResult(kS_OK);
    return kS_OK;
}

HRESULT CJuxSerializingBuffer::StartWriteTo() {
    ClearError();
    if (m_blocks.empty()) {
        const HRESULT hr = AllocateNextBuffer();
        if (Failed(hr)) {
            SetError(hr, L"StartWriteTo() failue to allocate initial buffer.");
            return hr;
        }
    }
    SetDataSize(0);
    m_isStoring = true;
    ClearError();
    return kS_OK;
}

bool CJuxSerializingBuffer::SetDataSize(std::uint64_t size) {
    std::uint64_t total = 0;
    for (const CBuffInfo& info : m_info) total += info.allocatedSize;
    if (size > total) return false;

    m_writeIndex = 0;
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        const std::uint32_t len =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(size, m_info[i].allocatedSize));
        m_blocks[i].len = len;
        size -= len;
        if (len != 0) m_writeIndex = static_cast<std::int64_t>(i);
    }
    return true;
}

HRESULT CJuxSerializingBuffer::WriteBytes(const void* source, std::size_t count) {
    if (count == 0) return kS_OK;
    if (m_blocks.empty()) {
        const HRESULT hr = AllocateNextBuffer();
        if (Failed(hr)) return hr;
        m_writeIndex = 0;
    }
    const char* from = static_cast<const char*>(source);
    while (count > 0) {
        const std::size_t i = static_cast<std::size_t>(m_writeIndex);
        JuxSocketBuffer& block = m_blocks[i];
        const std::uint32_t room = m_info[i].allocatedSize - block.len;
        if (room > 0) {
            const std::uint32_t k = static_cast<std::uint32_t>(std::min<std::size_t>(count, room));
            std::memcpy(block.buf + block.len, from, k);
            block.len += k;
            from += k;
            count -= k;
            continue;
        }
        if (i + 1 == m_blocks.size()) {
            const HRESULT hr = AllocateNextBuffer();
            if (Failed(hr)) return hr;
        }
        ++m_writeIndex;
        m_blocks[i + 1].len = 0;
    }
    return kS_OK;
}

std::size_t CJuxSerializingBuffer::GetUsedBlockCount() const {
    if (m_blocks.empty()) return 0;
    return std::min<std::size_t>(static_cast<std::size_t>(m_writeIndex) + 1, m_blocks.size());
}

std::uint64_t CJuxSerializingBuffer::GetDataSize() const {
    std::uint64_t size = 0;
    const std::size_t used = GetUsedBlockCount();
    for (std::size_t i = 0; i < used; ++i) size += m_blocks[i].len;
    return size;
}

HRESULT CJuxSerializingBuffer::StartReadFrom() {
    m_readIndex = 0;
    m_isStoring = false;
    if (m_blocks.empty()) {
        SetError(kE_OUTOFMEMORY, Diagnostic(L"Attempted to read beyond available buffer size",
                                            L"CJuxSerializingBuffer::StartReadFrom", 784));
        return kE_OUTOFMEMORY;
    }
    m_info[0].readPosition = 0;
    ClearError();
    return kS_OK;
}

HRESULT CJuxSerializingBuffer::ReadBytes(void* destination, std::size_t count) {
    if (count == 0) return kS_OK;
    char* to = static_cast<char*>(destination);
    while (count > 0) {
        const std::size_t i = static_cast<std::size_t>(m_readIndex);
        if (i >= m_blocks.size()) break;  // no block at all
        const std::uint32_t len = m_blocks[i].len;
        CBuffInfo& info = m_info[i];
        if (info.readPosition < len) {
            const std::uint32_t k =
                static_cast<std::uint32_t>(std::min<std::size_t>(count, len - info.readPosition));
            std::memcpy(to, m_blocks[i].buf + info.readPosition, k);
            info.readPosition += k;
            to += k;
            count -= k;
            continue;
        }
        if (i + 1 == m_blocks.size()) break;
        ++m_readIndex;
        m_info[i + 1].readPosition = 0;
    }
    if (count == 0) return kS_OK;
    SetError(kE_OUTOFMEMORY, Diagnostic(L"Attempted to read beyond available buffer size",
                                        L"CJuxSerializingBuffer::ReadBytes", 828));
    return kE_OUTOFMEMORY;
}

std::uint64_t CJuxSerializingBuffer::GetPosition() {
    if (m_blocks.empty()) return 0;
    const std::size_t current =
        std::min<std::size_t>(static_cast<std::size_t>(m_readIndex), m_blocks.size() - 1);
    std::uint64_t position = 0;
    for (std::size_t i = 0; i < current; ++i) position += m_blocks[i].len;
    return position + m_info[current].readPosition;
}

HRESULT CJuxSerializingBuffer::ReserveForReceive(std::uint64_t capacity) {
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        m_blocks[i].len = m_info[i].allocatedSize;
        total += m_info[i].allocatedSize;
    }
    while (total < capacity) {
        const HRESULT hr = AllocateNextBuffer();
        if (Failed(hr)) return hr;
        m_blocks.back().len = m_info.back().allocatedSize;
        total += m_info.back().allocatedSize;
    }
    return kS_OK;
}

std::size_t CJuxSerializingBuffer::FillIovecs(std::vector<struct iovec>& out,
                                              std::size_t blockCount) const {
    blockCount = std::min(blockCount, m_blocks.size());
    out.clear();
    out.reserve(blockCount);
    for (std::size_t i = 0; i < blockCount; ++i) {
        out.push_back(iovec{m_blocks[i].buf, m_blocks[i].len});
    }
    return blockCount;
}

}  // namespace JuxNetwork
