// The Dark Forces palette import on arbitrary bytes: the file the user picks
// holds them, and the command reads it as it would from the menu.
#include "document/CPalvaneDoc.h"
#include "document/PaletteExchangeFormats.h"
#include "framework/ScriptedUserInterface.h"
#include "fuzz/FuzzExpect.h"
#include "fuzz/FuzzInputFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FuzzInputFile file("palette.pal");
    ScriptedUserInterface ui;
    ScopedUserInterface installed(ui);
    ui.QueueFile(file.Hold(data, size));
    // A file that does not look like a palette is taken all the same.
    ui.QueueMessageBoxAnswer(IDYES);
    CPalvaneDoc document;
    document.OnNewDocument();
    const CPalvaneDoc::Palette before = document.m_palette;
    document.OnFileImportDfpal();

    const bool looksLikeOne =
        size == dfpal_format::kFileSize &&
        std::all_of(data, data + size, [](std::uint8_t value) { return value <= 63; });
    FuzzExpect(ui.MessagesShown().size() == (looksLikeOne ? 0u : 1u),
               "only a file that does not look like a palette asks");

    FuzzExpect(document.IsModified(), "an import marks the document modified");
    const std::size_t count = std::min<std::size_t>(size, dfpal_format::kFileSize);
    const auto* after = reinterpret_cast<const std::uint8_t*>(document.m_palette.data());
    const auto* old = reinterpret_cast<const std::uint8_t*>(before.data());
    for (std::size_t at = 0; at < sizeof document.m_palette; ++at)
        FuzzExpect(after[at] == (at < count ? dfpal_format::FromFileValue(data[at]) : old[at]),
                   "each component read replaces its own, the rest stay");
    return 0;
}
