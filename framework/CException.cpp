#include "framework/CException.h"

const char* CException::what() const noexcept
{
    try {
        if (!GetErrorMessage(m_what))
            m_what = "unspecified error";
    } catch (...) {
        return "unspecified error";
    }
    return m_what.c_str();
}
