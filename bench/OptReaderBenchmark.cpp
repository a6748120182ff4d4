// Reading a model and printing what it holds as --opt-info does: a model of
// many meshes with their geometry and textures, the texture list alone (as
// the texture import reads it), and a model whose list node lists one face
// block of a thousand faces eight times.

#include "cli/OptJson.h"
#include "opt/COptReader.h"
#include "tests/support/OptFileBuilder.h"

#include <benchmark/benchmark.h>

#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

namespace {

// A stream that counts what it is given and keeps none of it.
class Discard : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

std::vector<OptFileBuilder::Face> Faces(int count)
{
    std::vector<OptFileBuilder::Face> faces;
    for (int f = 0; f < count; ++f)
        faces.push_back({{f, f + 1, f + 2, f % 2 == 0 ? -1 : f + 3}, {1, 2, 3}});
    return faces;
}

std::string Ship(int meshes)
{
    OptFileBuilder opt;
    std::vector<int> top;
    for (int m = 0; m < meshes; ++m) {
        const int vertices = opt.Entries(3, std::vector<std::uint32_t>(3 * 500, 7), 3);
        const int texture =
            opt.Texture("Tex" + std::to_string(m), {0xFFFF}, OptFileBuilder::Bytes(64 * 64, 9));
        top.push_back(opt.Node(0, {vertices, texture, opt.FaceBlock(Faces(1000))}));
    }
    const OptFileBuilder::Bytes bytes = opt.Build(top);
    return {bytes.begin(), bytes.end()};
}

std::string RepeatedBlock(int repeats)
{
    OptFileBuilder opt;
    const int faces = opt.FaceBlock(Faces(1000));
    const OptFileBuilder::Bytes bytes = opt.Build({opt.Node(21, std::vector<int>(repeats, faces))});
    return {bytes.begin(), bytes.end()};
}

void ReadAndPrint(benchmark::State& state, const std::string& model, COptReader::Scope scope)
{
    Discard discard;
    std::ostream out(&discard);
    for (auto _ : state) {
        std::istringstream stream(model);
        COptReader reader;
        reader.m_nPaletteBias = 3584;
        reader.ReadFrom(stream, scope);
        if (scope == COptReader::Scope::everything)
            WriteOptReaderJson(reader, out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * model.size()));
}

void BM_ReadShip(benchmark::State& state)
{
    ReadAndPrint(state, Ship(static_cast<int>(state.range(0))), COptReader::Scope::everything);
}

void BM_ReadShipTextureList(benchmark::State& state)
{
    ReadAndPrint(state, Ship(static_cast<int>(state.range(0))), COptReader::Scope::textureList);
}

void BM_ReadRepeatedFaceBlock(benchmark::State& state)
{
    ReadAndPrint(state, RepeatedBlock(8), COptReader::Scope::everything);
}

} // namespace

BENCHMARK(BM_ReadShip)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadShipTextureList)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRepeatedFaceBlock)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
