#include "document/DarkForcesPaletteCheck.h"

#include "document/PaletteExchangeFormats.h"

#include <algorithm>

namespace dfpal_format {

namespace {

constexpr std::uint8_t kHighestValue = 63;

} // namespace

std::optional<Mismatch> FindMismatch(std::uint64_t length, std::span<const std::uint8_t> head)
{
    if (length != static_cast<std::uint64_t>(kFileSize))
        return Mismatch{length, 0, 0};
    const auto above = std::find_if(head.begin(), head.end(),
                                    [](std::uint8_t value) { return value > kHighestValue; });
    if (above == head.end())
        return std::nullopt;
    return Mismatch{length, static_cast<std::size_t>(above - head.begin()), *above};
}

std::string ReasonFor(const Mismatch& mismatch)
{
    if (mismatch.length != static_cast<std::uint64_t>(kFileSize))
        return "it is " + std::to_string(mismatch.length) + " bytes long";
    return "byte " + std::to_string(mismatch.offset) + " holds " + std::to_string(mismatch.value) +
           ", above " + std::to_string(kHighestValue);
}

std::string NotAPaletteStatement(const std::string& path, const std::string& reason)
{
    return path + " does not look like a Dark Forces palette (" + reason + ")";
}

std::string ReasonIn(const std::string& statement)
{
    // A path may hold parentheses, a reason never does: the reason is in the last pair.
    const std::size_t open = statement.rfind('(');
    const std::size_t close = statement.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return std::string();
    return statement.substr(open + 1, close - open - 1);
}

} // namespace dfpal_format
