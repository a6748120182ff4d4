#pragma once

#include <cstddef>
#include <limits>
#include <vector>

// Control of the system calls under the file layer in a test program that
// links FaultySystemCalls.cpp in place of the real ones: they count the
// calls an operation makes, and the call chosen fails as the system would
// fail it.
namespace file_faults {

enum class Call { open, read, write, sync, link, rename, close };
const char* CallName(Call call);

// Not an errno value: the read or write chosen moves only half of what was
// asked (at least one byte), as a signal or a full pipe can make it.
constexpr int kShortTransfer = -1;
constexpr std::size_t kNoCall = std::numeric_limits<std::size_t>::max();

// Starts counting calls from 0; the call numbered `at` fails with `error`
// (an errno value or kShortTransfer). A failed close has still released its
// handle, as Linux does. With `noUnnamedFiles`, every open of an unnamed
// temporary file fails uncounted, as on a file system that has none.
void Start(std::size_t at = kNoCall, int error = 0, bool noUnnamedFiles = false);
// Stops counting and failing; returns the calls made since Start.
std::vector<Call> Stop();

} // namespace file_faults
