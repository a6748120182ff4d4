// The model reader on arbitrary bytes, and the JSON printed from whatever it
// read. Built as a libFuzzer target and as a plain driver over a corpus.
#include "cli/OptJson.h"
#include "fuzz/FuzzExpect.h"
#include "opt/COptReader.h"
#include "opt/XwaTextureImport.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream stream(std::string(reinterpret_cast<const char*>(data), size));
    COptReader reader;
    // The reader never looks at the first byte, so it can choose the choice.
    reader.m_nChoice = size > 0 ? static_cast<std::int8_t>(data[0]) : 0;
    reader.m_nLevelCount = 1;
    reader.m_nPaletteBias = xwa_import::kPaletteBias;
    reader.ReadFrom(stream);
    std::ostringstream json;
    WriteOptReaderJson(reader, json);
    const std::string text = json.str();
    FuzzExpect(text.front() == '{' && text.back() == '}', "whatever was read prints as JSON");

    // The texture list alone builds no meshes and reads no pixels.
    std::istringstream again(std::string(reinterpret_cast<const char*>(data), size));
    COptReader list;
    list.ReadFrom(again, COptReader::Scope::textureList);
    bool pixels = false;
    for (const OptTexture& texture : list.m_textures)
        pixels = pixels || !texture.pixels->empty();
    FuzzExpect(list.m_meshes.empty() && !pixels, "the texture list holds no meshes and no pixels");
    return 0;
}
