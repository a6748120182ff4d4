#include "framework/AtomicReplaceFile.h"

#include "framework/PlatformFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <random>

namespace {

std::string TemporaryNameBeside(const std::string& target)
{
    static std::atomic<unsigned> s_counter{0};
    static const unsigned s_seed = std::random_device{}();
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x%04x.tmp", s_seed, ++s_counter & 0xFFFFu);
    std::string result = platform_file::FolderOf(target);
    if (!result.empty())
        result += '/';
    return result + '.' + platform_file::FileNameOf(target) + suffix;
}

} // namespace

AtomicReplaceFile::~AtomicReplaceFile()
{
    AtomicReplaceFile::Abort();
}

bool AtomicReplaceFile::Open(const std::string& path, unsigned, CFileException* error)
{
    Abort();
    m_strFileName = path;
    m_strTarget = platform_file::ResolveLinks(path);
    auto fail = [&](int osError) {
        if (error != nullptr)
            *error = CFileException(CFileException::ErrnoToCause(osError, true), osError, path);
        return false;
    };
    if (path.empty())
        return fail(ENOENT);
    if (platform_file::IsDirectory(m_strTarget))
        return fail(EISDIR);
    // Replacing by rename would get past a write-protected file; refuse as
    // writing into it would.
    if (platform_file::IsReadOnly(m_strTarget))
        return fail(EACCES);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = TemporaryNameBeside(m_strTarget);
        const int handle = platform_file::CreateExclusive(candidate);
        if (handle >= 0) {
            m_hFile = handle;
            m_strTempPath = candidate;
            platform_file::CopyPermissions(handle, m_strTarget);
            return true;
        }
        if (errno != EEXIST)
            return fail(errno);
    }
    return fail(EEXIST);
}

void AtomicReplaceFile::Close()
{
    if (!IsOpen())
        return;
    try {
        CFile::Flush();
        CFile::Close();
    } catch (...) {
        Abort();
        throw;
    }
    if (platform_file::RenameOver(m_strTempPath, m_strTarget) != 0) {
        const int osError = errno;
        DiscardTemporary();
        CFileException::ThrowErrno(osError, m_strFileName, true);
    }
    m_strTempPath.clear();
    platform_file::SyncFolder(platform_file::FolderOf(m_strTarget));
}

void AtomicReplaceFile::Abort()
{
    CFile::Abort();
    DiscardTemporary();
}

void AtomicReplaceFile::DiscardTemporary()
{
    if (!m_strTempPath.empty()) {
        platform_file::Remove(m_strTempPath);
        m_strTempPath.clear();
    }
}
