// Writes the seed corpus of the model reader's fuzz target into a folder:
// small generated models that reach every kind of node the reader knows.
#include "tests/support/OptFileBuilder.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

void Write(const std::filesystem::path& path, const OptFileBuilder::Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

OptFileBuilder::Bytes ChoiceModel()
{
    OptFileBuilder opt;
    const int texture = opt.Texture("Cockpit", {0xFFFF}, {1, 2, 3, 4});
    const int choice = opt.Node(24, {texture, opt.TextureLink("Tex00000")});
    const int faces = opt.FaceBlock({{{0, 1, 2, 3}, {1, 2, 3}}, {{4, 5, 6, -1}, {4, 5, 6}}});
    return opt.Build({opt.Node(21, {choice, faces}), opt.FaceBlock({{{0, 1, 2, -1}, {}}})});
}

OptFileBuilder::Bytes CycleModel()
{
    OptFileBuilder opt;
    const int loop = opt.Node(0, {0});
    opt.SetInt32(opt.Int32At(loop + 12) - opt.Base(), opt.Stored(loop));
    return opt.Build({loop});
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make-opt-seeds FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    try {
        std::filesystem::create_directories(folder);
        const OptFileBuilder::Bytes sample = SampleOptModel();
        Write(folder / "sample.opt", sample);
        Write(folder / "sample-half.opt",
              OptFileBuilder::Bytes(sample.begin(), sample.begin() + sample.size() / 2));
        Write(folder / "choice.opt", ChoiceModel());
        Write(folder / "cycle.opt", CycleModel());
        Write(folder / "empty.opt", OptFileBuilder().Build({}));
    } catch (const std::exception& error) {
        std::cerr << "make-opt-seeds: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
