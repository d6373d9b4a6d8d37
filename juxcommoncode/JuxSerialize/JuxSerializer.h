#pragma once
// CJuxSerializer: the abstract byte reader/writer shared by the memory buffer and the archive file.
// A serializable type has one routine that writes when IsStoring() is true and reads otherwise.
#include <cstddef>
#include <cstdint>

#include "juxcommoncode/JuxSerialize/LastError.h"

namespace JuxNetwork {

class CJuxSerializer : public CLastError {
  public:
    ~CJuxSerializer() override = default;

    bool IsStoring() const { return m_isStoring; }
    void SetStoring(bool storing) { m_isStoring = storing; }

    // Buffer: bytes consumed by reading so far. Archive file: the file position.
    virtual std::uint64_t GetPosition() = 0;
    // Appends count bytes. Returns 0 or a failure code (also kept in GetResult()).
    virtual HRESULT WriteBytes(const void* source, std::size_t count) = 0;
    // Copies the next count bytes out. Returns 0 or a failure code (also kept in GetResult()).
    virtual HRESULT ReadBytes(void* destination, std::size_t count) = 0;

  protected:
    bool m_isStoring = true;
};

}  // namespace JuxNetwork
