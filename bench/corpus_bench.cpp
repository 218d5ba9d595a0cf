// Reads every spectrum file under the folders given (default ../shared/corpus)
// from bytes in memory, the way the viewer reads it after the file is loaded,
// and prints per file the median time of a read into the record, which each
// read replaces as in the viewer:
//
//   name median_us points ok
//
// Each file is read 5 times to warm up and then 31 times; the reader follows
// from the extension, or else from the name of the folder (sp, jcamp, prn).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "import/file_bytes.h"
#include "import/readers.h"

namespace {

namespace fs = std::filesystem;
using halvorn::FileFormat;

std::optional<FileFormat> FormatOf(const fs::path& path) {
    if (auto format = halvorn::FormatOfPath(path.string())) {
        return format;
    }
    return halvorn::FormatNamed(path.parent_path().filename().string());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<fs::path> roots;
    for (int i = 1; i < argc; ++i) {
        roots.emplace_back(argv[i]);
    }
    if (roots.empty()) {
        roots.emplace_back("../shared/corpus");
    }
    std::vector<fs::path> files;
    for (const fs::path& root : roots) {
        std::error_code error;
        if (fs::is_regular_file(root, error)) {
            files.push_back(root);
            continue;
        }
        for (const auto& entry : fs::recursive_directory_iterator(root, error)) {
            if (entry.is_regular_file() && FormatOf(entry.path())) {
                files.push_back(entry.path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::fprintf(stderr, "corpus_bench: no spectrum files found\n");
        return 1;
    }
    for (const fs::path& path : files) {
        const std::optional<std::string> bytes = halvorn::ReadFileBytes(path.string());
        const std::optional<FileFormat> format = FormatOf(path);
        if (!bytes || !format) {
            continue;
        }
        halvorn::ReadRequest request;
        request.fileTitle = path.filename().string();
        bool ok = false;
        int points = 0;
        // One record, replaced by every read, as in the viewer.
        halvorn::Spectrum s;
        const auto readOnce = [&] {
            ok = halvorn::ReadSpectrumBytes(*format, *bytes, request, s).ok;
            points = s.PointCount;
        };
        for (int warm = 0; warm < 5; ++warm) {
            readOnce();
        }
        std::vector<double> times;
        for (int r = 0; r < 31; ++r) {
            const auto start = std::chrono::steady_clock::now();
            readOnce();
            const std::chrono::duration<double, std::micro> took =
                std::chrono::steady_clock::now() - start;
            times.push_back(took.count());
        }
        std::sort(times.begin(), times.end());
        std::printf("%s %.1f %d %s\n", path.filename().string().c_str(), times[15], points,
                    ok ? "ok" : "refused");
    }
    return 0;
}
