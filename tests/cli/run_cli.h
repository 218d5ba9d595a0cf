// Runs the built halvorn-cli as a user would, with no display, and collects
// its exit status, standard output and standard error.
#pragma once

#include <array>
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

}  // namespace halvorn::test
