#include "framework/AtomicReplaceFile.h"

#include <cerrno>

AtomicReplaceFile::~AtomicReplaceFile()
{
    AtomicReplaceFile::Abort();
}

bool AtomicReplaceFile::Open(const std::string& path, unsigned, CFileException* error)
{
    Abort();
    m_strFileName = path;
    auto failWith = [&](CFileException::Cause cause, int osError) {
        if (error != nullptr)
            *error = CFileException(cause, osError, path);
        return false;
    };
    auto fail = [&](int osError) {
        return failWith(CFileException::ErrnoToCause(osError, true), osError);
    };
    platform_file::SaveTarget target;
    if (platform_file::FindSaveTarget(path, target) != 0)
        return fail(errno);
    switch (target.kind) {
    case platform_file::NodeKind::directory:
        return fail(EISDIR);
    case platform_file::NodeKind::other:
        return fail(EACCES);
    case platform_file::NodeKind::stream:
        // Replacing a device or a pipe by a file would lose what it is for.
        m_hFile = platform_file::OpenStream(target);
        if (m_hFile < 0) // ENXIO: a pipe that nobody came to read
            return errno == ENXIO ? failWith(CFileException::noReader, ENXIO) : fail(errno);
        m_bWriteThrough = true;
        return true;
    case platform_file::NodeKind::regular:
        // Replacing by rename would get past a write-protected file; refuse
        // as writing into it would.
        if (platform_file::IsReadOnly(target.path))
            return fail(EACCES);
        break;
    case platform_file::NodeKind::absent:
        break;
    }
    m_strTarget = target.path;
    platform_file::RemoveLeftovers(platform_file::FolderOf(m_strTarget));
    if (platform_file::CreateTemporaryFor(m_strTarget, m_hFile, m_temporary) != 0) {
        m_hFile = -1;
        return fail(errno);
    }
    return true;
}

void AtomicReplaceFile::Close()
{
    if (!IsOpen())
        return;
    if (m_bWriteThrough) {
        m_bWriteThrough = false;
        CFile::Close();
        return;
    }
    try {
        CFile::Flush();
    } catch (...) {
        Abort();
        throw;
    }
    const int handle = m_hFile;
    m_hFile = -1;
    if (platform_file::ReplaceWithTemporary(handle, m_temporary, m_strTarget) != 0) {
        const int osError = errno;
        platform_file::DiscardTemporary(-1, m_temporary);
        CFileException::ThrowErrno(osError, m_strFileName, true);
    }
}

void AtomicReplaceFile::Abort()
{
    if (m_bWriteThrough) {
        m_bWriteThrough = false;
        CFile::Abort();
        return;
    }
    platform_file::DiscardTemporary(m_hFile, m_temporary);
    m_hFile = -1;
}
