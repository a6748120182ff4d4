#pragma once

#include "document/palette_formats/PaletteFormats.h"

// The palette formats this program offers in its File menu: the core's,
// unless the program installs a longer list at start (the editor adds
// images, which need an image library the core does not link).
namespace palette_formats {

const CodecList& ProgramPaletteCodecs();
// `codecs` must live as long as the program; it should hold the core's.
void InstallProgramPaletteCodecs(const CodecList& codecs);

// The codec of the list that writes files with `extension` (without the
// dot); nullptr when none does.
const PaletteCodec* ProgramCodecWriting(std::string_view extension);

} // namespace palette_formats
