// Opening a colormap on arbitrary bytes, through the same path the editor
// takes: a real file, the archive over it, the document's loader.
#include "document/CPalvaneDoc.h"
#include "document/CmpFormat.h"
#include "framework/ScriptedUserInterface.h"
#include "fuzz/FuzzExpect.h"
#include "fuzz/FuzzInputFile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t kPaletteEnd = cmp_format::kPaletteOffset + 3 * CPalvaneDoc::kPaletteSize;

bool HasMagic(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return false;
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = static_cast<char>(data[i]);
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != "cmp "[i])
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FuzzInputFile file("colormap.cmp");
    const std::string& path = file.Hold(data, size);
    ScriptedUserInterface ui;
    ScopedUserInterface installed(ui);
    CPalvaneDoc document;
    const bool opened = document.OnOpenDocument(path);

    FuzzExpect(opened != document.IsModified(), "an open ends modified exactly when it fails");
    FuzzExpect(ui.MessagesShown().size() <= 1, "an open shows at most one message");
    FuzzExpect(opened || ui.MessagesShown().size() == 1, "a failed open is reported");
    if (size > 0 && !HasMagic(data, size))
        FuzzExpect(!opened, "a file of another kind does not open");
    if (HasMagic(data, size) && size >= kPaletteEnd) {
        FuzzExpect(opened && ui.MessagesShown().empty(), "a complete colormap opens silently");
        FuzzExpect(std::memcmp(document.m_palette.data(), data + cmp_format::kPaletteOffset,
                               sizeof document.m_palette) == 0,
                   "the palette is the file's palette bytes");
    }
    return 0;
}
