#pragma once

#include <functional>
#include <string>

// Runs `check` in a forked child and returns what it returned: an empty
// string when all was well, otherwise a description of what went wrong.
// With `unprivileged`, a child running as the superuser first becomes the
// user "nobody", so that file permissions hold for it.
std::string RunInChild(const std::function<std::string()>& check, bool unprivileged = false);
