#pragma once

#include "framework/ShellRequest.h"

#include <cstddef>
#include <string>
#include <vector>

// Hands requests to the running instance that serves them.
class RequestSender {
public:
    // How long the sender waits for each answer before it handles the
    // request itself.
    static constexpr int kAnswerTimeoutMs = 3000;

    struct Result {
        bool connected = false;    // an instance took the connection
        std::size_t delivered = 0; // the first `delivered` requests went through
    };

    // Sends `requests` in order, after the desktop's `activationToken` when
    // there is one, stopping at the first one not accepted in time.
    static Result Send(const std::vector<ShellRequest>& requests,
                       const std::string& activationToken, int timeoutMs = kAnswerTimeoutMs);
};
