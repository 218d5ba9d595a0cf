// Runs the built halvorn-cli as a user would, with no display, and collects
// its exit status, standard output and standard error.
#pragma once

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace halvorn::test {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// arguments are passed through the shell, so quote what needs quoting.
inline CliRun RunCli(const std::string& arguments) {
    namespace fs = std::filesystem;
    const fs::path errFile =
        fs::temp_directory_path() / ("halvorn_cli_err_" + std::to_string(::getpid()));
    const std::string command = "env -u DISPLAY -u QT_QPA_PLATFORM " HALVORN_BIN_DIR
                                "/halvorn-cli " +
                                arguments + " 2>" + errFile.string();
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    std::array<char, 65536> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        out.append(buffer.data(), n);
    }
    const int status = ::pclose(pipe);
    std::stringstream err;
    err << std::ifstream(errFile).rdbuf();
    fs::remove(errFile);
    return {WEXITSTATUS(status), out, err.str()};
}

// Writes a *.prn table from 4000 to 400 cm-1 at 90 %T with dips at 2900
// (40 %T), 1600 (20 %T) and 1000 (30 %T), which the first redraw marks.
inline void WriteThreeDipTable(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    for (int nu = 4000; nu >= 400; --nu) {
        double t = 90.0;
        for (auto [centre, depth] : {std::pair{2900, 50.0}, {1600, 70.0}, {1000, 60.0}}) {
            const double z = (nu - centre) / 8.0;
            t -= depth * std::exp(-z * z);
        }
        char line[64];
        std::snprintf(line, sizeof line, "%d\t%.4f\r\n", nu, t);
        out << line;
    }
}

}  // namespace halvorn::test
