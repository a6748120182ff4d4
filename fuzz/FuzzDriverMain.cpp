// Runs the fuzz target once on every file named, or on every file in the
// folders named, so that the corpus runs as an ordinary test.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (std::filesystem::is_directory(argv[i])) {
            for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
        } else {
            inputs.emplace_back(argv[i]);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    int failed = 0;
    for (const auto& input : inputs) {
        std::ifstream file(input, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                      std::istreambuf_iterator<char>());
        if (!file.good() && !file.eof()) {
            std::cerr << "cannot read " << input << '\n';
            ++failed;
            continue;
        }
        // As under libFuzzer, an empty input still comes with a valid pointer.
        static const char kNothing = 0;
        const auto* data =
            reinterpret_cast<const std::uint8_t*>(bytes.empty() ? &kNothing : bytes.data());
        if (LLVMFuzzerTestOneInput(data, bytes.size()) != 0) {
            std::cerr << "rejected " << input << '\n';
            ++failed;
        }
    }
    std::cout << "fuzz inputs: " << inputs.size() - static_cast<std::size_t>(failed) << " passed, "
              << failed << " failed\n";
    return inputs.empty() || failed > 0 ? 1 : 0;
}
