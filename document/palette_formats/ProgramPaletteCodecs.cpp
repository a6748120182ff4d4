#include "document/palette_formats/ProgramPaletteCodecs.h"

#include <algorithm>

namespace palette_formats {
namespace {

const CodecList* g_programCodecs = nullptr;

} // namespace

const CodecList& ProgramPaletteCodecs()
{
    return g_programCodecs != nullptr ? *g_programCodecs : CorePaletteCodecs();
}

void InstallProgramPaletteCodecs(const CodecList& codecs)
{
    g_programCodecs = &codecs;
}

const PaletteCodec* ProgramCodecWriting(std::string_view extension)
{
    for (const PaletteCodec* codec : ProgramPaletteCodecs()) {
        const auto extensions = codec->Extensions();
        if (std::find(extensions.begin(), extensions.end(), extension) != extensions.end())
            return codec;
    }
    return nullptr;
}

} // namespace palette_formats
