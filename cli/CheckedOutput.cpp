#include "cli/CheckedOutput.h"

#include "framework/PlatformFile.h"

#include <cerrno>

CheckedOutput::CheckedOutput(int handle) : m_handle(handle)
{
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
}

CheckedOutput::~CheckedOutput()
{
    WriteBuffered();
}

int CheckedOutput::Finish()
{
    WriteBuffered();
    return m_error;
}

CheckedOutput::int_type CheckedOutput::overflow(int_type c)
{
    if (!WriteBuffered())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int CheckedOutput::sync()
{
    return WriteBuffered() ? 0 : -1;
}

bool CheckedOutput::WriteBuffered()
{
    const char* next = pbase();
    const char* const end = pptr();
    while (next < end && m_error == 0) {
        const long long put =
            platform_file::Write(m_handle, next, static_cast<std::size_t>(end - next));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            m_error = put < 0 ? errno : ENOSPC;
        else
            next += put;
    }
    // What could not be written is dropped: the error stands for it.
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    return m_error == 0;
}
