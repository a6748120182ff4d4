#include "framework/PlatformFile.h"

#include "framework/Utf8Path.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <system_error>
#include <vector>

namespace platform_file {

namespace {

// A temporary file is ".NAME.palvane-XXXXXXXXXXXXXXXX.tmp": hidden beside its
// target, and marked so that a later save can tell a dead save's leftover
// from a file of the user's.
constexpr char kMarker[] = ".palvane-";
constexpr char kSuffix[] = ".tmp";
constexpr std::size_t kRandomDigits = 16;
constexpr std::size_t kFixedLength =
    1 + (sizeof kMarker - 1) + kRandomDigits + (sizeof kSuffix - 1);

std::uint64_t NextRandom()
{
    static std::atomic<std::uint64_t> s_counter{0};
    thread_local std::mt19937_64 t_generator{
        (static_cast<std::uint64_t>(std::random_device{}()) << 32) ^
        static_cast<std::uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count())};
    return t_generator() ^ (++s_counter * 0x9E3779B97F4A7C15u);
}

std::atomic<std::chrono::milliseconds::rep> g_pipeReaderWait{0};

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

void SetPipeReaderWait(std::chrono::milliseconds wait)
{
    g_pipeReaderWait = wait.count();
}

std::chrono::milliseconds PipeReaderWait()
{
    return std::chrono::milliseconds(g_pipeReaderWait.load());
}

std::filesystem::path ToPath(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string FromPath(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string TemporaryNameFor(const std::string& target, std::size_t nameMax)
{
    std::string name = FileNameOf(target);
    const std::size_t room = nameMax > kFixedLength ? nameMax - kFixedLength : 0;
    if (name.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && IsContinuationByte(name[cut]))
            --cut; // never split a character
        name.resize(cut);
    }
    char digits[kRandomDigits + 1];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(NextRandom()));
    const std::string file = '.' + name + kMarker + digits + kSuffix;
    const std::string folder = FolderOf(target);
    return folder.empty() ? file : FromPath(ToPath(folder) / ToPath(file));
}

bool IsTemporaryName(const std::string& name)
{
    if (name.size() < kFixedLength || name[0] != '.')
        return false;
    const std::size_t suffixAt = name.size() - (sizeof kSuffix - 1);
    const std::size_t digitsAt = suffixAt - kRandomDigits;
    const std::size_t markerAt = digitsAt - (sizeof kMarker - 1);
    if (name.compare(suffixAt, std::string::npos, kSuffix) != 0 ||
        name.compare(markerAt, sizeof kMarker - 1, kMarker) != 0)
        return false;
    for (std::size_t i = digitsAt; i < suffixAt; ++i)
        if (std::strchr("0123456789abcdef", name[i]) == nullptr || name[i] == '\0')
            return false;
    return true;
}

int InspectContent(const std::string& path, std::uint64_t limit, FileIdentity& identity,
                   const std::function<void(const std::uint8_t*, std::size_t)>& consume)
{
    const int handle = OpenToInspect(path);
    if (handle < 0)
        return -1;
    int error = 0;
    FileIdentity before;
    if (IdentifyHandle(handle, before) != 0) {
        error = errno;
    } else if (before.size > limit) {
        error = EFBIG;
    } else {
        std::vector<std::uint8_t> chunk(std::size_t{1} << 16);
        std::uint64_t total = 0;
        for (;;) {
            const long long got = ReadToInspect(handle, chunk.data(), chunk.size());
            if (got <= 0) {
                error = got < 0 ? errno : 0;
                break;
            }
            total += static_cast<std::uint64_t>(got);
            if (total > limit) {
                error = EFBIG;
                break;
            }
            consume(chunk.data(), static_cast<std::size_t>(got));
        }
        if (error == 0 && IdentifyHandle(handle, identity) != 0)
            error = errno;
        else if (error == 0 && !(identity == before))
            error = EAGAIN; // written to while it was read
    }
    CloseInspected(handle);
    errno = error;
    return error == 0 ? 0 : -1;
}

std::string AbsolutePath(const std::string& path)
{
    if (path.empty())
        return path;
    std::error_code error;
    const std::filesystem::path given = std::filesystem::absolute(ToPath(path), error);
    if (error)
        return path;
    const std::filesystem::path name = given.filename();
    const bool plainName = !name.empty() && name != "." && name != "..";
    const std::filesystem::path folder = plainName ? given.parent_path() : given;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(folder, error);
    if (error)
        resolved = folder.lexically_normal();
    return FromPath(plainName ? resolved / name : resolved);
}

std::string FolderOf(const std::string& path)
{
    return FromPath(ToPath(path).parent_path());
}

std::string FileNameOf(const std::string& path)
{
    return FromPath(ToPath(path).filename());
}

} // namespace platform_file
