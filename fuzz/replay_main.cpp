// Runs a fuzz target over files instead of fuzzing: each argument is an input file or a
// folder of them (its files in name order), each handed once to LLVMFuzzerTestOneInput.
// This is how the ordinary build, compiled with any compiler, replays the committed corpus
// as a regression test and reproduces a crash a fuzzer saved.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

bool replay(const fs::path& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    std::ifstream in(path, std::ios::binary);
    // Exactly the input's size, so that a read past its end is a read past an allocation,
    // as under the fuzzer.
    std::vector<uint8_t> data(error ? 0 : size);
    if (error || !in.read(reinterpret_cast<char*>(data.data()), std::streamsize(data.size()))) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    LLVMFuzzerTestOneInput(data.empty() ? nullptr : data.data(), data.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) {
        LLVMFuzzerInitialize(&argc, &argv);
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        std::vector<fs::path> inputs;
        std::error_code error;
        if (fs::is_directory(arg, error)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(arg, error)) {
                if (entry.is_regular_file()) {
                    inputs.push_back(entry.path());
                }
            }
            std::sort(inputs.begin(), inputs.end());
        } else {
            inputs.push_back(arg);
        }
        for (const fs::path& input : inputs) {
            if (!replay(input)) {
                return 1;
            }
            ++replayed;
        }
    }
    // An empty or missing corpus would make the regression run pass without testing.
    if (replayed == 0) {
        std::fprintf(stderr, "no input found in the arguments\n");
        return 1;
    }
    std::printf("replayed %d inputs\n", replayed);
    return 0;
}
