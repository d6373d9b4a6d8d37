#include "juxcommoncode/JuxSerialize/JuxArchiveFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "juxcommoncode/JuxSerialize/MultibyteText.h"
#include "platform/MessageService.h"

namespace JuxNetwork {

namespace {

constexpr std::size_t kMaxReasonChars = 1024;

JuxFileError ErrorFromErrno(int err) {
    char buffer[256];
    // GNU strerror_r returns the text, which may or may not be in buffer.
    const char* text = strerror_r(err, buffer, sizeof buffer);
    return JuxFileError{err, MultibyteToWide(text ? text : "")};
}

// Opens path and takes an exclusive, non-waiting lock on it. Fails with EWOULDBLOCK when another
// open holds the lock, or when the file was replaced between our open and our lock (another
// writer's rename): the caller then fails the same way as for a locked file.
int OpenLocked(const std::string& path, int flags, int& err) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    struct stat opened {};
    struct stat named {};
    // Each failing call leaves its own errno, hence the alike branches.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {  // NOLINT(bugprone-branch-clone)
        err = errno;
    } else if (::fstat(fd, &opened) != 0) {
        err = errno;
    } else if (!S_ISREG(opened.st_mode)) {
        err = S_ISDIR(opened.st_mode) ? EISDIR : EINVAL;
    } else if (::stat(path.c_str(), &named) != 0 || named.st_dev != opened.st_dev ||
               named.st_ino != opened.st_ino) {
        err = EWOULDBLOCK;
    } else {
        const int fl = ::fcntl(fd, F_GETFL);
        if (fl >= 0) ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
        return fd;
    }
    ::close(fd);
    return -1;
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

void SyncDirectory(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: makes the rename itself survive a power loss
    ::close(fd);
}

// Removes temporary files "<dir>/.<base>.XXXXXX" that a writer which died before Close() left.
// Only called while holding the verified lock on the file at the path: every live writer of that
// path holds the same lock, so any such file found then is a leftover.
void RemoveLeftoverTempFiles(const std::string& dir, const std::string& base) {
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    const std::string prefix = "." + base + ".";
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0) {
            ::unlinkat(::dirfd(d), name.c_str(), 0);
        }
    }
    ::closedir(d);
}

void PutLittleEndian(unsigned char* to, std::uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) to[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint64_t GetLittleEndian(const unsigned char* from, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value |= std::uint64_t{from[i]} << (8 * i);
    return value;
}

}  // namespace

CJuxArchiveFile::CJuxArchiveFile(std::wstring path) : m_path(std::move(path)) {}

CJuxArchiveFile::~CJuxArchiveFile() {
    CloseFiles();
}

void CJuxArchiveFile::CloseFiles() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_readPos = m_readEnd = 0;
    // A temporary file still here was never put in place: the old file stays as it was.
    if (!m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
        // An empty file this save created only to hold the lock goes too; we still hold its lock,
        // so no one else is using it.
        if (m_createdPath && m_lockFd >= 0) ::unlink(WideToMultibyte(m_path).c_str());
    }
    m_tempPath.clear();
    m_createdPath = false;
    // Closing the locked descriptor releases the lock.
    if (m_lockFd >= 0) ::close(m_lockFd);
    m_lockFd = -1;
}

HRESULT CJuxArchiveFile::ReportFileError(const JuxFileError& error) {
    std::wstring reason = error.message.substr(0, kMaxReasonChars);
    std::wstring text = L"File error: " + reason + L", " + m_path;
    if (m_showErrors) xomplatform::ShowMessage(text, L"", xomplatform::MessageIcon::None);
    // The text is kept even when not shown: callers that stay silent may still log it.
    SetError(kE_FAIL, std::move(text));
    CloseFiles();
    return kE_FAIL;
}

HRESULT CJuxArchiveFile::OpenForWrite() {
    CloseFiles();
    const std::string path = WideToMultibyte(m_path);
    int err = 0;
    // The lock is taken on the file at the path itself, which readers and other writers lock too;
    // it is held until the new file has replaced it. The file is opened for writing so that a
    // file the user may not write is not replaced either.
    if (path.empty()) {
        err = ENOENT;
    } else {
        m_lockFd = OpenLocked(path, O_RDWR | O_CREAT | O_EXCL, err);
        m_createdPath = m_lockFd >= 0;
        if (m_lockFd < 0 && err == EEXIST) m_lockFd = OpenLocked(path, O_RDWR, err);
    }
    if (m_lockFd < 0) {
        m_openError = ErrorFromErrno(err);
        return ReportFileError(m_openError);
    }
    // The new content goes to a uniquely named file in the same folder, so the final rename stays
    // within one file system and is atomic.
    const std::string dir = DirectoryOf(path);
    const std::string base =
        path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    RemoveLeftoverTempFiles(dir, base);
    std::string temp = (dir == "/" ? std::string() : dir) + "/." + base + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        m_openError = ErrorFromErrno(errno);
        return ReportFileError(m_openError);
    }
    m_fd = fd;
    m_tempPath = temp;
    struct stat old {};
    if (::fstat(m_lockFd, &old) == 0) ::fchmod(m_fd, old.st_mode & 0777);

    m_isStoring = true;
    m_header = ArchiveHeader{kArchiveProtocolMarker, 0, 0};
    const HRESULT hr = WriteHeader();
    if (Failed(hr)) return hr;
    SetResult(kS_OK);
    return kS_OK;
}

HRESULT CJuxArchiveFile::WriteHeader() {
    unsigned char bytes[kArchiveHeaderSize];
    PutLittleEndian(bytes, m_header.protocolMarker, 8);
    PutLittleEndian(bytes + 8, m_header.fileLength, 8);
    PutLittleEndian(bytes + 16, m_header.reserved, 2);
    return WriteBytes(bytes, sizeof bytes);
}

HRESULT CJuxArchiveFile::OpenForRead() {
    CloseFiles();
    const std::string path = WideToMultibyte(m_path);
    int err = 0;
    const int fd = path.empty() ? (err = ENOENT, -1) : OpenLocked(path, O_RDONLY, err);
    if (fd < 0) {
        m_openError = ErrorFromErrno(err);
        return ReportFileError(m_openError);
    }
    m_fd = fd;
    m_isStoring = false;

    unsigned char bytes[kArchiveHeaderSize];
    const HRESULT hr = ReadBytes(bytes, sizeof bytes);
    if (Failed(hr)) return hr;
    m_header.protocolMarker = GetLittleEndian(bytes, 8);
    m_header.fileLength = GetLittleEndian(bytes + 8, 8);
    m_header.reserved = static_cast<std::uint16_t>(GetLittleEndian(bytes + 16, 2));
    if (m_header.protocolMarker != kArchiveProtocolMarker) {
        SetError(kE_FAIL, L"ERROR trying to read JuxArchiveFile: protocol not valid.");
        return kE_FAIL;
    }
    if (m_header.fileLength == 0) {
        SetError(kE_FAIL, L"ERROR trying to read JuxArchiveFile: empty file");
        return kE_FAIL;
    }
    SetResult(kS_OK);
    return kS_OK;
}

HRESULT CJuxArchiveFile::WriteBytes(const void* source, std::size_t count) {
    if (m_fd < 0) {
        SetResult(kE_FAIL);
        return kE_FAIL;
    }
    const char* from = static_cast<const char*>(source);
    while (count > 0) {
        const ssize_t n = ::write(m_fd, from, count);
        if (n < 0) {
            if (errno == EINTR) continue;
            return ReportFileError(ErrorFromErrno(errno));
        }
        if (n == 0) return ReportFileError(ErrorFromErrno(ENOSPC));
        from += n;
        count -= static_cast<std::size_t>(n);
    }
    SetResult(kS_OK);
    return kS_OK;
}

HRESULT CJuxArchiveFile::ReadBytes(void* destination, std::size_t count) {
    if (m_fd < 0) {
        SetResult(kE_FAIL);
        return kE_FAIL;
    }
    // Reads go through a buffer: a record is six small fields, and a system call for each would
    // make loading a large file slow.
    char* to = static_cast<char*>(destination);
    std::size_t got = 0;
    while (got < count) {
        if (m_readPos == m_readEnd) {
            m_readPos = m_readEnd = 0;
            const ssize_t n = ::read(m_fd, m_readBuffer.data(), m_readBuffer.size());
            if (n < 0) {
                if (errno == EINTR) continue;
                return ReportFileError(ErrorFromErrno(errno));
            }
            if (n == 0) break;  // end of file
            m_readEnd = static_cast<std::size_t>(n);
        }
        const std::size_t take = std::min(count - got, m_readEnd - m_readPos);
        std::memcpy(to + got, m_readBuffer.data() + m_readPos, take);
        m_readPos += take;
        got += take;
    }
    if (got < count) {
        SetError(kE_FAIL, L"CJuxArchiveFile read count error: expected " +
                              std::to_wstring(static_cast<unsigned>(count)) + L" != acutal " +
                              std::to_wstring(static_cast<unsigned>(got)));
        return kE_FAIL;
    }
    SetResult(kS_OK);
    return kS_OK;
}

std::uint64_t CJuxArchiveFile::GetPosition() {
    if (m_fd < 0) return 0;
    const off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    // Bytes read ahead into the buffer are not yet consumed.
    const std::uint64_t ahead = m_readEnd - m_readPos;
    return pos < 0 || static_cast<std::uint64_t>(pos) < ahead
               ? 0
               : static_cast<std::uint64_t>(pos) - ahead;
}

std::uint64_t CJuxArchiveFile::GetFileSize() {
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0 || st.st_size < 0) return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

HRESULT CJuxArchiveFile::Close() {
    if (m_fd < 0) {
        CloseFiles();
        return GetResult();
    }
    if (m_tempPath.empty()) {  // opened for reading
        CloseFiles();
        return GetResult();
    }
    m_header.fileLength = GetPosition();
    if (::lseek(m_fd, 0, SEEK_SET) != 0) return ReportFileError(ErrorFromErrno(errno));
    HRESULT hr = WriteHeader();
    if (Failed(hr)) return hr;
    if (::fsync(m_fd) != 0) return ReportFileError(ErrorFromErrno(errno));
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0) return ReportFileError(ErrorFromErrno(errno));
    const std::string path = WideToMultibyte(m_path);
    if (::rename(m_tempPath.c_str(), path.c_str()) != 0)
        return ReportFileError(ErrorFromErrno(errno));
    m_tempPath.clear();
    m_createdPath = false;
    SyncDirectory(DirectoryOf(path));
    CloseFiles();  // releases the lock on the replaced file
    return GetResult();
}

}  // namespace JuxNetwork
