#pragma once

#include "framework/Clipboard.h"

// The system clipboard through Qt. Text goes both ways as UTF-8.
class QtClipboard final : public Clipboard {
public:
    std::optional<std::string> GetText() const override;
    void SetText(const std::string& text) override;
};
