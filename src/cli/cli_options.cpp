#include "cli/cli_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>

#include "core/settings.h"
#include "core/xscale_mode.h"

namespace halvorn {

namespace {

bool ParseDouble(const std::string& text, double& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

bool ParseInt(const std::string& text, int& value) {
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// The --scale names, one per X-scale mode.
std::optional<XScaleMode> ScaleNamed(const std::string& name) {
    static constexpr std::array<const char*, kXScaleModes.size()> kNames = {"1", "2", "3", "wl"};
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (name == kNames[i]) {
            return kXScaleModes[i].mode;
        }
    }
    return std::nullopt;
}

bool ParsePlot(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find('x');
    return x != std::string::npos && ParseInt(text.substr(0, x), width) &&
           ParseInt(text.substr(x + 1), height) && width > 0 && height > 0;
}

bool ParseProbes(const std::string& text, std::vector<double>& probes) {
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ',')) {
        double nu;
        if (!ParseDouble(item, nu)) {
            return false;
        }
        probes.push_back(nu);
    }
    return !probes.empty();
}

// The copy-preview elements --hide may name, comma-separated.
bool ParseHidden(const std::string& text, std::vector<std::string>& hidden) {
    static const std::vector<std::string> kElements = {"grid",  "frame",      "scale",
                                                       "graph", "peaklabels", "labels"};
    if (text.empty() || text.back() == ',') {
        return false;
    }
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ',')) {
        if (std::find(kElements.begin(), kElements.end(), item) == kElements.end()) {
            return false;
        }
        hidden.push_back(item);
    }
    return !hidden.empty();
}

}  // namespace

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args,
                                          std::string& error) {
    CliOptions o;
    if (args.empty()) {
        error = "usage: halvorn-cli info|export|render|header|readout FILE [options]";
        return std::nullopt;
    }
    o.command = args[0];
    if (o.command != "info" && o.command != "export" && o.command != "render" &&
        o.command != "header" && o.command != "readout") {
        error = "unknown command: " + o.command;
        return std::nullopt;
    }

    using Handler = std::function<bool(const std::string&)>;
    const std::map<std::string, Handler> withValue = {
        {"--format", [&](const std::string& v) { return (o.format = FormatNamed(v)).has_value(); }},
        {"--mult", [&](const std::string& v) { return ParseDouble(v, o.mult); }},
        {"--scale",
         [&](const std::string& v) {
             const std::optional<XScaleMode> mode = ScaleNamed(v);
             if (mode) {
                 // From the default settings, so "wl" keeps the two-section
                 // variant whatever came before.
                 DisplaySettings settings;
                 SetXScaleMode(settings, *mode);
                 o.xScaleKind = settings.XScaleKind;
                 o.wavenumberSections = settings.WavenumberSections;
             }
             return mode.has_value();
         }},
        {"--grid",
         [&](const std::string& v) {
             o.yGridMode = v == "a" ? 1 : 0;
             return v == "t" || v == "a";
         }},
        {"--plot", [&](const std::string& v) { return ParsePlot(v, o.plotWidth, o.plotHeight); }},
        {"--probe", [&](const std::string& v) { return ParseProbes(v, o.probes); }},
        {"--text",
         [&](const std::string& v) {
             o.exportText = v;
             return v == "y" || v == "x" || v == "yvalues";
         }},
        {"--step", [&](const std::string& v) { return ParseInt(v, o.step) && o.step >= 1; }},
        {"--hide", [&](const std::string& v) { return ParseHidden(v, o.hidden); }},
        {"--limits", [&](const std::string& v) { return ParseLimitsOption(v, o.interaction); }},
        {"--too-short",
         [&](const std::string& v) { return ParseYesNo(v, o.interaction.tooShortYes); }},
        {"--clicks", [&](const std::string& v) { return ParsePositions(v, o.interaction.clicks); }},
        {"--at", [&](const std::string& v) { return ParsePositions(v, o.interaction.at); }},
        {"--height",
         [&](const std::string& v) {
             return ParseInt(v, o.heightPercent) && o.heightPercent >= 50 &&
                    o.heightPercent <= 100 && o.heightPercent % 10 == 0;
         }},
    };
    const std::map<std::string, bool*> flags = {{"--fixed-y", &o.fixedY},
                                                {"--points", &o.points},
                                                {"--bw", &o.blackWhite},
                                                {"--default-name", &o.defaultName},
                                                {"--peak-mark", &o.interaction.peakMark}};

    std::vector<std::string> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (auto flag = flags.find(arg); flag != flags.end()) {
            *flag->second = true;
        } else if (auto option = withValue.find(arg); option != withValue.end()) {
            if (i + 1 >= args.size()) {
                error = "missing value after " + arg;
                return std::nullopt;
            }
            if (!option->second(args[++i])) {
                error = "bad value for " + arg + ": " + args[i];
                return std::nullopt;
            }
        } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            error = "unknown option: " + arg;
            return std::nullopt;
        } else {
            positional.push_back(arg);
        }
    }

    const std::size_t wanted = o.command == "render" ? 2 : 1;
    if (positional.size() != wanted) {
        error = o.command == "render" ? "render needs FILE and OUT" : o.command + " needs one FILE";
        return std::nullopt;
    }
    o.file = positional[0];
    if (o.command == "render") {
        o.outFile = positional[1];
    }
    if (o.command == "readout" && o.interaction.at.empty()) {
        error = "readout needs --at X,Y[;X,Y...]";
        return std::nullopt;
    }
    if (o.command == "export" && o.exportText.empty()) {
        error = "export needs --text y|x|yvalues";
        return std::nullopt;
    }
    if (!o.format) {
        o.format = FormatOfPath(o.file);
        if (!o.format) {
            error = "cannot tell the format of " + o.file + "; use --format sp|jcamp|prn";
            return std::nullopt;
        }
    }
    return o;
}

}  // namespace halvorn
