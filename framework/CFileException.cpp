#include "framework/CFileException.h"

#include "framework/FrameworkMessages.h"

#include <cerrno>
#include <iterator>
#include <utility>

namespace {

const char* const kMessages[] = {
    "No error occurred.",
    "An unknown error occurred while accessing %1.",
    "%1 was not found.",
    "%1 contains an invalid path.",
    "%1 could not be opened because there are too many open files.",
    "Access to %1 was denied.",
    "An invalid file handle was associated with %1.",
    "%1 could not be removed because it is the current directory.",
    "%1 could not be created because the directory is full.",
    "Seek failed on %1",
    "A hardware I/O error was reported while accessing %1.",
    "A sharing violation occurred while accessing %1.",
    "A locking violation occurred while accessing %1.",
    "Disk full while accessing %1.",
    "An attempt was made to access %1 past its end.",
    "Nobody is reading the pipe %1.",
};
static_assert(std::size(kMessages) == CFileException::noReader + 1);

} // namespace

CFileException::CFileException(Cause cause, int osError, std::string fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName))
{
}

std::string CFileException::MessageFor(Cause cause, const std::string& fileName)
{
    int index = static_cast<int>(cause);
    if (index < 0 || index > static_cast<int>(noReader))
        index = genericException;
    return AfxFormatString1(kMessages[index], fileName.empty() ? kUnnamedFile : fileName);
}

CFileException::Cause CFileException::ErrnoToCause(int error, bool creating)
{
    switch (error) {
    case 0:
        return none;
    case ENOENT:
        return creating ? badPath : fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
#ifdef ELOOP
    case ELOOP:
#endif
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case ESPIPE:
        return badSeek;
    case EIO:
    case ENXIO:
        return hardIO;
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return sharingViolation;
    case EDEADLK:
    case ENOLCK:
        return lockViolation;
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return diskFull;
    default:
        return genericException;
    }
}

void CFileException::ThrowErrno(int error, const std::string& fileName, bool creating)
{
    throw CFileException(ErrnoToCause(error, creating), error, fileName);
}

bool CFileException::GetErrorMessage(std::string& message) const
{
    message = MessageFor(m_cause, m_strFileName);
    return true;
}
