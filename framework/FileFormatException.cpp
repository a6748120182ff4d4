#include "framework/FileFormatException.h"

#include <utility>

FileFormatException::FileFormatException(std::string reason) : m_strReason(std::move(reason)) {}

bool FileFormatException::GetErrorMessage(std::string& message) const
{
    message = m_strReason;
    return true;
}
