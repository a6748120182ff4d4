#pragma once

#include <array>
#include <streambuf>

// A stream buffer over an open file handle (standard output) that remembers
// the first write error, so that output lost to a full disk or a closed
// handle is reported rather than passed over.
class CheckedOutput : public std::streambuf {
public:
    explicit CheckedOutput(int handle);
    ~CheckedOutput() override;

    CheckedOutput(const CheckedOutput&) = delete;
    CheckedOutput& operator=(const CheckedOutput&) = delete;

    // Writes out what is buffered. Returns the errno of the first failed
    // write, or 0 when everything was written.
    int Finish();

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool WriteBuffered();

    int m_handle;
    int m_error = 0;
    std::array<char, 4096> m_buffer{};
};
