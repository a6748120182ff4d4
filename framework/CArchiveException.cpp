#include "framework/CArchiveException.h"

#include <utility>

CArchiveException::CArchiveException(Cause cause, std::string fileName)
    : m_cause(cause), m_strFileName(std::move(fileName))
{
}

bool CArchiveException::GetErrorMessage(std::string& message) const
{
    message.clear();
    return false;
}
