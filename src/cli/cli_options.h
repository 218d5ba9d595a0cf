// The command line of halvorn-cli, parsed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/interaction_options.h"
#include "import/readers.h"

namespace halvorn {

struct CliOptions {
    // --help and --version answer without a command.
    bool help = false;
    bool version = false;
    std::string command;
    std::string file;
    std::string outFile;  // render only
    std::optional<FileFormat> format;
    // --block N: the block of a multi-block JCAMP-DX file, counted from 1; 0
    // leaves the choice to the reader.
    int block = 0;
    double mult = 1.0;
    // X-scale mode as (XScaleKind, WavenumberSections); --scale 2 by default.
    int xScaleKind = 0;
    int wavenumberSections = 0;
    int yGridMode = 0;  // t = 0, a = 1
    bool fixedY = false;
    int plotWidth = 673;
    int plotHeight = 348;
    bool points = false;
    std::vector<double> probes;
    std::string exportText;    // y, x or yvalues
    bool defaultName = false;  // export: the Save dialog's default name instead of the text
    bool blackWhite = false;
    int step = 1;
    int heightPercent = 100;
    // render: the copy-preview elements switched off (grid, frame, scale,
    // graph, peaklabels, labels).
    std::vector<std::string> hidden;
    // info, render, readout: --limits, --too-short, --clicks; readout: --at,
    // --peak-mark.
    InteractionOptions interaction;
};

// Parses args (without the program name). On a usage error returns nothing and
// sets error to a one-line message. Options may come before, between and after
// the command and its files, as --name value or --name=value; "--" ends the
// options.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string& error);

// What --help prints: the commands, every option, the exit statuses.
std::string CliHelpText();

// What --version prints: the program's name and version.
std::string CliVersionText();

}  // namespace halvorn
