// halvorn-cli: reads a spectrum with the viewer's readers and prints what the
// viewer would hold and show, without a window.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace halvorn {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitReadFailed = 1;
inline constexpr int kExitUsage = 2;

// Runs one command line (args without the program name); writes the result to
// out and usage errors to err; returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace halvorn
