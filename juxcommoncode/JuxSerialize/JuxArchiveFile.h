#pragma once
// CJuxArchiveFile: a disk file read or written through the serializer interface, starting with the
// 18-byte archive header (protocol marker, total file length, reserved word).
//
// Writing never touches the existing file until Close(): the content goes to a temporary file
// beside it, which Close() renames over the old one, so a crash or power loss during a save leaves
// the previous file whole. Opens are exclusive: while one archive has the file open (for reading
// or writing), another open of the same path, in this or another process, fails at once.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "juxcommoncode/JuxSerialize/JuxSerializer.h"

namespace JuxNetwork {

inline constexpr std::uint64_t kArchiveProtocolMarker = 0x4A7544785D75A4E9ULL;
inline constexpr std::size_t kArchiveHeaderSize = 18;

struct ArchiveHeader {
    std::uint64_t protocolMarker = 0;
    std::uint64_t fileLength = 0;  // whole file, header included; 0 until the writer closed it
    std::uint16_t reserved = 0;
};

// Why a file operation failed: the system error number and its text.
struct JuxFileError {
    int systemError = 0;
    std::wstring message;
};

class CJuxArchiveFile : public CJuxSerializer {
  public:
    explicit CJuxArchiveFile(std::wstring path);
    ~CJuxArchiveFile() override;
    CJuxArchiveFile(const CJuxArchiveFile&) = delete;
    CJuxArchiveFile& operator=(const CJuxArchiveFile&) = delete;

    // When set (the default), file errors are also shown to the user through the platform
    // message service.
    bool GetShowErrors() const { return m_showErrors; }
    void SetShowErrors(bool show) { m_showErrors = show; }

    // Starts a new file for the path and writes the provisional header (file length 0). The file
    // at the path stays as it was until Close(). Fails, through ReportFileError, when the path is
    // open elsewhere or cannot be written.
    HRESULT OpenForWrite();
    // Opens the existing file and checks its header. 0 means the content may be read; a foreign
    // marker or a file length of 0 (a writer that never closed) gives kE_FAIL with a text.
    HRESULT OpenForRead();
    // Writing: stores the final length in the header, makes the file durable and puts it in place
    // of the old one. Reading: closes the file. Returns the result code.
    HRESULT Close();

    HRESULT WriteBytes(const void* source, std::size_t count) override;
    // A short read gives kE_FAIL with the read count text; a successful read sets the result to 0.
    HRESULT ReadBytes(void* destination, std::size_t count) override;
    // The current position in the open file; 0 when no file is open.
    std::uint64_t GetPosition() override;
    // Size of the open file in bytes; 0 when no file is open. Readers bound counts read from the
    // content by the bytes really left.
    std::uint64_t GetFileSize();

    // Records the failure (text "File error: <reason>, <path>"), shows it when ShowErrors is set,
    // closes the file (a file being written is discarded) and returns kE_FAIL.
    HRESULT ReportFileError(const JuxFileError& error);

    bool IsOpen() const { return m_fd >= 0; }
    const std::wstring& GetPath() const { return m_path; }
    const ArchiveHeader& GetHeader() const { return m_header; }
    // The reason the last open failed.
    const JuxFileError& GetOpenError() const { return m_openError; }

  private:
    HRESULT WriteHeader();
    void CloseFiles();

    std::wstring m_path;
    int m_fd = -1;      // the file being read, or the temporary file being written
    int m_lockFd = -1;  // while writing: the file at the path, locked so no one else opens it
    std::string m_tempPath;
    bool m_createdPath = false;  // this save created the (empty) file at the path to lock it
    JuxFileError m_openError;
    ArchiveHeader m_header;
    std::array<char, 65536> m_readBuffer{};
    std::size_t m_readPos = 0;  // next unread byte of m_readBuffer
    std::size_t m_readEnd = 0;  // end of the bytes read into it
    bool m_showErrors = true;
};

}  // namespace JuxNetwork
