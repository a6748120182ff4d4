#pragma once

#include <cstdint>

// A window that shows a document. The document tells each of its views when
// its contents change; a view then redraws from the document.
class DocumentView {
public:
    virtual ~DocumentView() = default;

    // `sender` is the view that made the change, or nullptr; `hint` and
    // `hintObject` say what changed (0 and nullptr: anything may have).
    virtual void OnUpdate(DocumentView* sender, std::intptr_t hint, void* hintObject) = 0;
};
