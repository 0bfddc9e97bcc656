// Runs a fuzz target over every file of the folders given, as an ordinary test, in builds without
// libFuzzer: an input that once made a target fail stays in its corpus and is tried in every build.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    std::size_t inputs = 0;
    for (int folder = 1; folder < argc; ++folder)
        for (const auto& entry : std::filesystem::directory_iterator(argv[folder])) {
            std::ifstream file(entry.path(), std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++inputs;
        }
    std::printf("%zu inputs\n", inputs);
    return inputs > 0 ? 0 : 1; // an empty corpus tests nothing
}
