#pragma once

#include "document/CPalvaneDoc.h"

#include <cstdint>
#include <vector>

class CArchive;

// How a colormap's tables were first computed: every lookup scans all 256
// entries. The benchmarks run it beside the fast path a save uses now.
std::vector<std::uint8_t> ExhaustiveTables(const CPalvaneDoc& document, bool withTransparency);

// A document that saves the same bytes as CPalvaneDoc, through the same file
// and archive, with its tables computed by the exhaustive loops. It reads
// as CPalvaneDoc does.
class ExhaustiveSaveDoc : public CPalvaneDoc {
public:
    explicit ExhaustiveSaveDoc(bool withTransparency) : m_withTransparency(withTransparency) {}
    void Serialize(CArchive& archive) override;

private:
    bool m_withTransparency;
};
