#pragma once

#include <cstdint>
#include <vector>

class COptReader;

// One node of a model file's tree. A node owns its children; `parent` and
// `owner` only refer.
struct OptNode {
    static constexpr std::int32_t kAbsent = -1; // `kind` of a node that is not there

    std::vector<OptNode> children;
    std::int32_t texture = -1; // set by texture nodes and texture links only
    std::int32_t position = 0; // of the node's header in the file
    OptNode* parent = nullptr; // none for a top-level node
    COptReader* owner = nullptr;
    std::int32_t mesh = 0;  // the index of the top-level ancestor
    std::int32_t index = 0; // in the parent's child list, or among the top-level nodes
    std::int32_t kind = kAbsent;
};
