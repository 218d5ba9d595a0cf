// Runs a fuzz target's entry point on files, as libFuzzer runs a reproducer:
// each argument is a file or a folder of files (not descended into). A
// missing folder is noted and skipped, so seed folders outside the repository
// may be absent. A fault ends the run the way it would end the fuzzer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void RunFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        std::error_code error;
        if (fs::is_regular_file(arg, error)) {
            RunFile(arg);
            ++runs;
        } else if (fs::is_directory(arg, error)) {
            std::vector<fs::path> files;
            for (const auto& entry : fs::directory_iterator(arg, error)) {
                if (entry.is_regular_file(error)) {
                    files.push_back(entry.path());
                }
            }
            std::sort(files.begin(), files.end());
            for (const fs::path& file : files) {
                std::printf("%s\n", file.string().c_str());
                std::fflush(stdout);
                RunFile(file);
                ++runs;
            }
        } else {
            std::printf("skipped (absent): %s\n", argv[i]);
        }
    }
    std::printf("%d inputs run\n", runs);
    return 0;
}
