// The palette format detector, every codec of the core and the paste reader
// on arbitrary bytes. Whatever a codec reads, it writes so that it reads the
// same colours back; nothing reads more than 256 colours.
#include "document/palette_formats/PaletteFormats.h"
#include "document/palette_formats/PastedText.h"
#include "fuzz/FuzzExpect.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace palette_formats;
    const std::span<const std::uint8_t> bytes(data, size);
    const CodecList& codecs = CorePaletteCodecs();
    const PaletteCodec* detected = DetectPaletteCodec(bytes, "pal", codecs);
    bool anyRecognised = false;
    for (const PaletteCodec* codec : codecs) {
        anyRecognised = anyRecognised || codec->Recognize(bytes) != Recognition::none;
        const PaletteRead read = codec->Read(bytes);
        if (!read.Succeeded()) {
            FuzzExpect(read.colors.empty(), "a failed read gives no colours");
            continue;
        }
        FuzzExpect(!read.colors.empty() && read.colors.size() <= kMaxColors,
                   "a read gives 1 to 256 colours");
        FuzzExpect(read.count >= read.colors.size(), "the file holds at least the colours kept");
        const std::string written = codec->Write(read.colors, "fuzz");
        const PaletteRead again = codec->Read(AsBytes(written));
        FuzzExpect(again.Succeeded() && again.colors == read.colors,
                   "what a codec read it writes and reads back the same");
        FuzzExpect(codec->Recognize(AsBytes(written)) != Recognition::none,
                   "what a codec writes it recognises");
    }
    FuzzExpect((detected != nullptr) == anyRecognised, "a recognised file has a format");

    const TextColors pasted = ReadPastedText(AsText(bytes));
    FuzzExpect(pasted.colors.size() <= kMaxColors, "a paste gives at most 256 colours");
    FuzzExpect(!pasted.colors.empty() || !pasted.message.empty(), "no colours say why");
    if (!pasted.colors.empty())
        FuzzExpect(ReadPastedText(WriteColorLines(pasted.colors)).colors == pasted.colors,
                   "copied colours paste back");
    return 0;
}
