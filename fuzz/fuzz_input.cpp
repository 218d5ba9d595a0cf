#include "fuzz_input.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace halvorn::fuzz {

std::string ScratchFile(const std::uint8_t* data, std::size_t size, const char* extension) {
    static const std::filesystem::path folder = [] {
        std::error_code error;
        const std::filesystem::path shm("/dev/shm");
        if (std::filesystem::is_directory(shm, error) && ::access("/dev/shm", W_OK) == 0) {
            return shm;
        }
        return std::filesystem::temp_directory_path();
    }();
    const std::string path =
        (folder / ("halvorn-fuzz-" + std::to_string(::getpid()) + extension)).string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        std::abort();
    }
    if (size > 0 && std::fwrite(data, 1, size, file) != size) {
        std::perror(path.c_str());
        std::abort();
    }
    std::fclose(file);
    return path;
}

ReadOutcome ReadBytes(FileFormat format, const std::uint8_t* data, std::size_t size, Spectrum& s) {
    const char* extension = format == FileFormat::Sp      ? ".sp"
                            : format == FileFormat::Jcamp ? ".jdx"
                                                          : ".prn";
    const std::string path = ScratchFile(data, size, extension);
    ReadRequest request;
    request.fileTitle = "fuzz" + std::string(extension);
    return ReadSpectrumFile(format, path, request, s);
}

}  // namespace halvorn::fuzz
