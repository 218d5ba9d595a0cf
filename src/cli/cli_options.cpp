#include "cli/cli_options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

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

constexpr const char* kUsage =
    "usage: halvorn-cli info|peaks|export|render|header|readout FILE [options]";

constexpr std::array<const char*, 6> kCommands = {"info",   "peaks",  "export",
                                                  "render", "header", "readout"};

// Every option: its name without the dashes, the name of its value (none for
// a switch) and what it does, as --help lists them.
struct OptionInfo {
    const char* name;
    const char* valueName;
    const char* description;
};

constexpr std::array<OptionInfo, 22> kOptions = {{
    {"format", "sp|jcamp|prn", "the reader (default: by the extension, else by the content)"},
    {"block", "N", "the block of a JCAMP-DX file with several blocks, counted from 1"},
    {"mult", "M", "the JCAMP-DX reader's ordinate multiplier (default 1)"},
    {"scale", "1|2|3|wl",
     "X scale: one-, two- or three-section wavenumber scale, or wavelength (default 2)"},
    {"grid", "t|a", "Y grid: transmittance or absorbance (default t)"},
    {"fixed-y", nullptr, "the fixed Y range"},
    {"plot", "WxH", "the plot area in pixels (default 673x348)"},
    {"points", nullptr, "info: add WaveX and RawY; render: draw the trace as points"},
    {"probe", "NU[,NU...]", "info: each wavenumber's plot x and the wavenumber back"},
    {"text", "y|x|yvalues",
     "export: the stored ordinates, the abscissae or the ordinates in the file's unit"},
    {"default-name", nullptr, "export: the Save dialog's default name instead of the text"},
    {"bw", nullptr, "render: black and white"},
    {"step", "N", "render: draw every N-th point"},
    {"height", "100|90|80|70|60|50", "render: the spectrum window's height option"},
    {"hide", "grid,frame,scale,graph,peaklabels,labels",
     "render: leave these elements out of the figure"},
    {"limits", "L,R[,um]", "a display range typed into the \"Sel\" dialog"},
    {"too-short", "yes|no", "the answer to \"Too Short Range\" (default yes)"},
    {"clicks", "X,Y[;X,Y...]", "peak-mark clicks on plot pixels"},
    {"at", "X,Y[;X,Y...]", "readout: the mouse positions on the plot"},
    {"peak-mark", nullptr, "readout: move the mouse in peak-mark mode"},
    {"help", nullptr, "print this text"},
    {"version", nullptr, "print the version"},
}};

const OptionInfo* OptionNamed(const std::string& name) {
    for (const OptionInfo& option : kOptions) {
        if (name == option.name) {
            return &option;
        }
    }
    return nullptr;
}

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

// The arguments as the parser takes them. An argument that is no well-formed
// UTF-8 (a file name in an older 8-bit encoding) would not come back from a
// QString unchanged, so it goes in as a token and its bytes are given back.
class Arguments {
  public:
    explicit Arguments(const std::vector<std::string>& args) : args_(args) {
        list_ << QStringLiteral("halvorn-cli");
        for (std::size_t i = 0; i < args.size(); ++i) {
            const QString text = QString::fromStdString(args[i]);
            const bool keeps = text.toStdString() == args[i];
            replaced_.push_back(!keeps);
            list_ << (keeps ? text : Token(i));
        }
    }

    const QStringList& List() const { return list_; }

    std::string Original(const QString& text) const {
        if (text.startsWith(kTokenMark)) {
            bool ok = false;
            const auto i = text.mid(1).toULongLong(&ok);
            if (ok && i < args_.size() && replaced_[i] && Token(i) == text) {
                return args_[i];
            }
        }
        return text.toStdString();
    }

  private:
    static constexpr QChar kTokenMark = QChar(0xE000);  // a private-use character

    static QString Token(std::size_t i) {
        return QString(kTokenMark) + QString::number(static_cast<qulonglong>(i));
    }

    const std::vector<std::string>& args_;
    std::vector<bool> replaced_;
    QStringList list_;
};

// The one-line message of a command line the parser refused.
std::string ParseError(const QCommandLineParser& parser, const std::vector<std::string>& args) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        const std::string name = unknown.first().toStdString();
        return "unknown option: " + std::string(name.size() == 1 ? "-" : "--") + name;
    }
    // A switch given a value: --points=1.
    for (const std::string& arg : args) {
        const std::size_t equals = arg.find('=');
        if (arg.starts_with("--") && equals != std::string::npos) {
            const OptionInfo* option = OptionNamed(arg.substr(2, equals - 2));
            if (option != nullptr && option->valueName == nullptr) {
                return "unexpected value after " + arg.substr(0, equals);
            }
        }
    }
    // Only the last argument can lack its value.
    const std::string& last = args.back();
    if (last.starts_with("--")) {
        const OptionInfo* option = OptionNamed(last.substr(2));
        if (option != nullptr && option->valueName != nullptr) {
            return "missing value after " + last;
        }
    }
    return parser.errorText().toStdString();
}

}  // namespace

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args,
                                          std::string& error) {
    CliOptions o;
    if (args.empty()) {
        error = kUsage;
        return std::nullopt;
    }

    QCommandLineParser parser;
    for (const OptionInfo& option : kOptions) {
        QStringList names{QString::fromLatin1(option.name)};
        if (std::string_view(option.name) == "help") {
            names.prepend(QStringLiteral("h"));
        }
        parser.addOption(QCommandLineOption(
            names, QString::fromUtf8(option.description),
            option.valueName != nullptr ? QString::fromLatin1(option.valueName) : QString()));
    }
    const Arguments arguments(args);
    if (!parser.parse(arguments.List())) {
        error = ParseError(parser, args);
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        o.help = true;
        return o;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        o.version = true;
        return o;
    }

    std::vector<std::string> positional;
    for (const QString& text : parser.positionalArguments()) {
        positional.push_back(arguments.Original(text));
    }
    if (positional.empty()) {
        error = kUsage;
        return std::nullopt;
    }
    o.command = positional.front();
    positional.erase(positional.begin());
    if (std::find(kCommands.begin(), kCommands.end(), o.command) == kCommands.end()) {
        error = "unknown command: " + o.command;
        return std::nullopt;
    }

    using Handler = std::function<bool(const std::string&)>;
    const std::map<std::string, Handler> withValue = {
        {"format", [&](const std::string& v) { return (o.format = FormatNamed(v)).has_value(); }},
        {"block", [&](const std::string& v) { return ParseInt(v, o.block) && o.block >= 1; }},
        {"mult", [&](const std::string& v) { return ParseDouble(v, o.mult); }},
        {"scale",
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
        {"grid",
         [&](const std::string& v) {
             o.yGridMode = v == "a" ? 1 : 0;
             return v == "t" || v == "a";
         }},
        {"plot", [&](const std::string& v) { return ParsePlot(v, o.plotWidth, o.plotHeight); }},
        {"probe", [&](const std::string& v) { return ParseProbes(v, o.probes); }},
        {"text",
         [&](const std::string& v) {
             o.exportText = v;
             return v == "y" || v == "x" || v == "yvalues";
         }},
        {"step", [&](const std::string& v) { return ParseInt(v, o.step) && o.step >= 1; }},
        {"hide", [&](const std::string& v) { return ParseHidden(v, o.hidden); }},
        {"limits", [&](const std::string& v) { return ParseLimitsOption(v, o.interaction); }},
        {"too-short",
         [&](const std::string& v) { return ParseYesNo(v, o.interaction.tooShortYes); }},
        {"clicks", [&](const std::string& v) { return ParsePositions(v, o.interaction.clicks); }},
        {"at", [&](const std::string& v) { return ParsePositions(v, o.interaction.at); }},
        {"height",
         [&](const std::string& v) {
             return ParseInt(v, o.heightPercent) && o.heightPercent >= 50 &&
                    o.heightPercent <= 100 && o.heightPercent % 10 == 0;
         }},
    };
    const std::map<std::string, bool*> flags = {{"fixed-y", &o.fixedY},
                                                {"points", &o.points},
                                                {"bw", &o.blackWhite},
                                                {"default-name", &o.defaultName},
                                                {"peak-mark", &o.interaction.peakMark}};

    // The options in the order given; a repeated option is handled each time
    // with its next value.
    std::map<QString, qsizetype> used;
    for (const QString& found : parser.optionNames()) {
        const std::string name = found.toStdString();
        if (auto flag = flags.find(name); flag != flags.end()) {
            *flag->second = true;
            continue;
        }
        const auto option = withValue.find(name);
        const QStringList values = parser.values(found);
        const qsizetype index = used[found]++;
        if (option == withValue.end() || index >= values.size()) {
            continue;
        }
        const std::string value = arguments.Original(values[index]);
        if (!option->second(value)) {
            error = "bad value for --" + name + ": " + value;
            return std::nullopt;
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
        // The extension where it names a format, else the file's first bytes.
        o.format = FormatOfFile(o.file);
        if (!o.format) {
            error = "cannot tell the format of " + o.file + "; use --format sp|jcamp|prn";
            return std::nullopt;
        }
    }
    return o;
}

std::string CliHelpText() {
    constexpr std::size_t kDescriptionColumn = 24;
    std::string text =
        "usage: halvorn-cli COMMAND FILE [options]\n"
        "\n"
        "Reads an infrared spectrum (*.sp, JCAMP-DX or a two-column table) with the\n"
        "viewer's readers and does what the viewer's first redraw after opening it does.\n"
        "\n"
        "Commands:\n"
        "  info FILE             the record, mapping and peaks as one JSON object\n"
        "  peaks FILE            the marked peaks as CSV (wavenumber, wavelength, %T,\n"
        "                        absorbance)\n"
        "  export FILE --text y|x|yvalues\n"
        "                        an export text, as the viewer copies it\n"
        "  render FILE OUT.png|OUT.svg|OUT.pdf|OUT.emf\n"
        "                        the copy-preview figure\n"
        "  header FILE           the numbered header lines\n"
        "  readout FILE --at X,Y[;X,Y...]\n"
        "                        the cursor readout at each position, as a JSON array\n"
        "\n"
        "info, peaks, render and readout take --limits, --too-short and --clicks,\n"
        "carried out after the first redraw in that order.\n"
        "\n"
        "Options:\n";
    for (const OptionInfo& option : kOptions) {
        std::string left = std::string(option.name) == "help" ? "  -h, --" : "  --";
        left += option.name;
        if (option.valueName != nullptr) {
            left += std::string(" ") + option.valueName;
        }
        text += left;
        // The description in a column of its own, wrapped before column 80.
        std::size_t column = left.size();
        std::istringstream words(option.description);
        std::string word;
        bool first = true;
        while (words >> word) {
            const bool wraps =
                first ? column + 1 > kDescriptionColumn : column + 1 + word.size() > 79;
            if (wraps) {
                text += "\n" + std::string(kDescriptionColumn, ' ');
                column = kDescriptionColumn;
            } else {
                const std::size_t start = first ? kDescriptionColumn : column + 1;
                text += std::string(start - column, ' ');
                column = start;
            }
            text += word;
            column += word.size();
            first = false;
        }
        text += "\n";
    }
    text +=
        "\n"
        "Exit status: 0 success; 1 the file could not be read; 2 bad usage.\n";
    return text;
}

std::string CliVersionText() {
    return std::string("halvorn-cli ") + HALVORN_VERSION + "\n";
}

}  // namespace halvorn
