#pragma once

#include "opt/COptReader.h"

#include <cstdint>
#include <string>

// The texture import command (CPalvaneDoc::OnFileImportXwa) replaces the
// palette with that of one texture of an X-Wing Alliance model file.
namespace xwa_import {

inline constexpr const char* kFilter = "X-Wing Alliance OPT (*.opt)|*.opt||";
inline constexpr const char* kDefaultExtension = "opt";
inline constexpr const char* kUnableToRead = "Unable to read OPT File";
// A texture's palette series holds one palette per light level, 512 bytes
// each; the import takes the eighth.
inline constexpr std::int32_t kPaletteBias = 3584;
static_assert(kPaletteBias == 7 * 512);

// Sets `reader` up as the import does and reads `scope` of the model at
// `path`; the import itself needs only the texture list. A file that cannot
// be opened is reported ("Unable to read OPT File") and gives false; so does
// one whose reading fails, with the file error's own text.
bool ReadModel(COptReader& reader, const std::string& path, COptReader::Scope scope);

} // namespace xwa_import
