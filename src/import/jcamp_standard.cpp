#include "import/jcamp_standard.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "core/character_set.h"
#include "core/export_text.h"
#include "core/numbers.h"
#include "import/asdf.h"
#include "import/number_scan.h"
#include "import/read_frame.h"
#include "import/transmittance.h"

namespace halvorn {

namespace {

using namespace std::string_view_literals;

const char* const kOutOfRange =
    "A number in this file is out of the range\r\nthis program can hold.";
const char* const kNoData = "Cannot open!\r\nThis file is corrupted,\r\nor has unsupported format.";

// Blocks looked at in one file, and other blocks named in the diagnostic
// lines.
constexpr std::size_t kMaxBlocks = 4096;
constexpr std::size_t kMaxNamedBlocks = 64;

// Header lines kept for the header list of one read.
constexpr std::size_t kMaxListedHeaderLines = 4096;

// Percentages beyond this are no transmittances (single-beam counts and the
// like): such ordinates are scaled instead.
constexpr double kMostPercent = 1000.0;

// Points whose spacing strays from the even grid by more than this share of
// the step are interpolated onto the grid.
constexpr double kUnevenShare = 0.01;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (IsBlank(text.front()) || text.front() == '\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// A label's value without its comment and the blanks around it.
std::string_view CleanValue(std::string_view value) {
    const std::size_t comment = value.find("$$");
    if (comment != std::string_view::npos) {
        value = value.substr(0, comment);
    }
    return Trimmed(value);
}

// Upper case without blanks, the form units and table forms are compared in.
std::string Compact(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (!IsBlank(c)) {
            result += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        }
    }
    return result;
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// The first c in [p, end), or nullptr: sixteen bytes at a time, inline, as
// lines are short and a call to memchr costs as much as the search.
inline const char* FindByte(const char* p, const char* end, char c) {
#ifdef __SSE2__
    const __m128i wanted = _mm_set1_epi8(c);
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
        if (found != 0) {
            return p + std::countr_zero(found);
        }
    }
#endif
    for (; p < end; ++p) {
        if (*p == c) {
            return p;
        }
    }
    return nullptr;
}

// The text's lines: LF or CR LF end a line, or CR alone in a text without
// LF, and a last line needs no end.
class Lines {
  public:
    explicit Lines(std::string_view text)
        : text_(text),
          crOnly_(text.find('\n') == std::string_view::npos &&
                  text.find('\r') != std::string_view::npos) {}

    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) {
            return false;
        }
        start_ = pos_;
        const char* const b = text_.data() + pos_;
        const std::size_t rest = text_.size() - pos_;
        const char* const end = FindByte(b, b + rest, crOnly_ ? '\r' : '\n');
        std::size_t length = end != nullptr ? static_cast<std::size_t>(end - b) : rest;
        pos_ += length + (end != nullptr ? 1 : 0);
        if (!crOnly_ && length > 0 && b[length - 1] == '\r') {
            --length;  // a CR LF line end
        }
        line = std::string_view(b, length);
        ++number_;
        return true;
    }

    // Passes over the lines up to the next one that starts with "##".
    void SkipToLabel() {
        std::size_t at = pos_;
        for (;;) {
            if (at + 1 < text_.size() && text_[at] == '#' && text_[at + 1] == '#') {
                break;
            }
            const std::size_t mark = text_.find("##", at);
            if (mark == std::string_view::npos) {
                at = text_.size();
                break;
            }
            if (text_[mark - 1] == '\n' || text_[mark - 1] == '\r') {
                at = mark;
                break;
            }
            at = mark + 2;
        }
        pos_ = at;
    }

    std::size_t Start() const { return start_; }   // of the line given last
    std::size_t Position() const { return pos_; }  // of the next line
    std::size_t Number() const { return number_; }
    void SetNumber(std::size_t number) { number_ = number; }

  private:
    std::string_view text_;
    bool crOnly_ = false;  // lines end with CR alone
    std::size_t pos_ = 0;
    std::size_t start_ = 0;
    std::size_t number_ = 0;
};

// A labelled line: the label in its normal form (upper case, without blanks,
// "-", "_" and "/") and the raw value after "=".
bool ParseLabel(std::string_view line, std::string& name, std::string_view& value) {
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) {
        ++i;
    }
    if (i + 1 >= line.size() || line[i] != '#' || line[i + 1] != '#') {
        return false;
    }
    i += 2;
    const std::size_t equals = line.find('=', i);
    const std::size_t end = equals == std::string_view::npos ? line.size() : equals;
    // The name is gathered in a buffer of its own and given to the string
    // whole: appended a character at a time, the string's length would
    // travel through memory with every character.
    name.clear();
    char buffer[64];
    std::size_t length = 0;
    for (std::size_t k = i; k < end; ++k) {
        const char c = line[k];
        if (c == ' ' || c == '\t' || c == '-' || c == '_' || c == '/') {
            continue;
        }
        if (length == sizeof buffer) {
            name.append(buffer, length);
            length = 0;
        }
        buffer[length++] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    name.append(buffer, length);
    value = equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
    return true;
}

enum class Table { None, Xyy, Pairs };

struct Block {
    bool link = false;
    bool inLink = false;
    bool ended = false;
    std::size_t begin = 0;       // offset of its first line
    std::size_t linkHeader = 0;  // inner blocks: the end of the link block's own lines
    std::string_view title, dataType, xUnits, yUnits, date, longDate, state, spectrometer;
    std::string_view xFactor, yFactor, firstX, lastX, deltaX, nPoints, maxY, multGlobal;
    bool xUnitsGiven = false;
    bool ntuples = false;
    Table table = Table::None;
    std::string tableName;  // "XYDATA", "XYPOINTS", "PEAKTABLE", "DATATABLE"
    std::string tableForm;  // "(X++(Y..Y))", "(XY..XY)" ...
    std::size_t group = 2;  // values of a pair: 2, or 3 for (XYW..XYW)
    std::size_t headerEnd = 0;
    std::size_t dataBegin = 0;
    std::size_t dataEnd = 0;
};

void ApplyLabel(Block& b, const std::string& name, std::string_view raw) {
    const std::string_view value = CleanValue(raw);
    if (name == "TITLE"sv) {
        b.title = value;
    } else if (name == "DATATYPE"sv) {
        b.dataType = value;
        if (Compact(value) == "LINK") {
            b.link = true;
        }
    } else if (name == "BLOCKS"sv) {
        b.link = true;
    } else if (name == "XUNITS"sv) {
        b.xUnits = value;
        b.xUnitsGiven = true;
    } else if (name == "YUNITS"sv) {
        b.yUnits = value;
    } else if (name == "XFACTOR"sv) {
        b.xFactor = value;
    } else if (name == "YFACTOR"sv) {
        b.yFactor = value;
    } else if (name == "FIRSTX"sv) {
        b.firstX = value;
    } else if (name == "LASTX"sv) {
        b.lastX = value;
    } else if (name == "DELTAX"sv) {
        b.deltaX = value;
    } else if (name == "NPOINTS"sv) {
        b.nPoints = value;
    } else if (name == "MAXY"sv) {
        b.maxY = value;
    } else if (name == "MULTGLOBAL"sv) {
        b.multGlobal = value;
    } else if (name == "DATE"sv) {
        b.date = value;
    } else if (name == "LONGDATE"sv) {
        b.longDate = value;
    } else if (name == "STATE"sv) {
        b.state = value;
    } else if (name == "SPECTROMETERDATASYSTEM"sv) {
        b.spectrometer = value;
    } else if (name == "NTUPLES"sv) {
        b.ntuples = true;
    }
}

// Which table a data label starts, from its form.
Table TableOf(const std::string& name, const std::string& form, std::size_t& group) {
    group = Contains(form, "XYW") || Contains(form, "XYM") ? 3 : 2;
    if (name == "XYDATA"sv) {
        return Contains(form, "XY..XY") ? Table::Pairs : Table::Xyy;
    }
    if (name == "XYPOINTS"sv || name == "PEAKTABLE"sv) {
        return Table::Pairs;
    }
    if (name == "DATATABLE"sv) {
        if (Contains(form, "X++(Y..Y)")) {
            return Table::Xyy;
        }
        if (Contains(form, "XY..XY") || Contains(form, "XYW..XYW")) {
            return Table::Pairs;
        }
    }
    return Table::None;
}

bool IsTableLabel(const std::string& name) {
    return name == "XYDATA"sv || name == "XYPOINTS"sv || name == "PEAKTABLE"sv ||
           name == "DATATABLE"sv;
}

// The blocks of the file, in order, the LINK block among them.
void ScanBlocks(std::string_view bytes, std::vector<Block>& blocks) {
    blocks.clear();
    Lines lines(bytes);
    std::string name;
    std::string_view line;
    std::string_view value;
    int top = -1;    // the block at the outer level
    int inner = -1;  // the block inside an open LINK block
    int link = -1;
    int inTable = -1;
    while (lines.Next(line)) {
        if (!ParseLabel(line, name, value)) {
            continue;
        }
        if (inTable >= 0) {
            blocks[static_cast<std::size_t>(inTable)].dataEnd = lines.Start();
            inTable = -1;
        }
        if (name == "TITLE"sv) {
            if (blocks.size() >= kMaxBlocks) {
                break;  // the blocks beyond are not looked at
            }
            Block b;
            b.begin = blocks.empty() ? 0 : lines.Start();
            if (link >= 0) {
                b.inLink = true;
                Block& l = blocks[static_cast<std::size_t>(link)];
                if (l.linkHeader == 0) {
                    l.linkHeader = lines.Start();
                }
                b.linkHeader = l.linkHeader;
                blocks.push_back(b);
                inner = static_cast<int>(blocks.size()) - 1;
            } else {
                blocks.push_back(b);
                top = static_cast<int>(blocks.size()) - 1;
            }
        } else if (name == "END"sv) {
            if (inner >= 0) {
                blocks[static_cast<std::size_t>(inner)].ended = true;
                inner = -1;
            } else if (top >= 0) {
                blocks[static_cast<std::size_t>(top)].ended = true;
                link = -1;
                top = -1;
            }
            continue;
        } else if (top < 0 && inner < 0) {
            // Labels before any title, or after the last block ended.
            Block b;
            b.begin = blocks.empty() ? 0 : lines.Start();
            blocks.push_back(b);
            top = static_cast<int>(blocks.size()) - 1;
        }
        const int current = inner >= 0 ? inner : top;
        Block& b = blocks[static_cast<std::size_t>(current)];
        ApplyLabel(b, name, value);
        if (b.link && current == top && inner < 0) {
            link = top;
        }
        if (IsTableLabel(name) && b.table == Table::None && !b.ntuples) {
            b.tableName = name;
            b.tableForm = Compact(CleanValue(value));
            b.table = TableOf(name, b.tableForm, b.group);
            if (b.table != Table::None) {
                b.headerEnd = lines.Position();
                b.dataBegin = lines.Position();
                b.dataEnd = bytes.size();
                inTable = current;
                lines.SkipToLabel();
            }
        }
    }
}

// The blocks a request can name, counted from 1: every block but the LINK
// block itself.
std::vector<std::size_t> NumberedBlocks(const std::vector<Block>& blocks) {
    std::vector<std::size_t> numbered;
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        if (!blocks[k].link || blocks[k].table != Table::None) {
            numbered.push_back(k);
        }
    }
    return numbered;
}

enum class XUnit { Wavenumber, Micrometre, Nanometre, Hertz, MassCharge, None, Other };

XUnit XUnitOf(std::string_view value) {
    const std::string u = Compact(value);
    if (u.empty()) {
        return XUnit::None;
    }
    if (u == "1/CM" || u == "CM-1" || u == "CM^-1" || u == "CM**-1" || u == "1/CENTIMETERS" ||
        u == "WAVENUMBER" || u == "WAVENUMBERS" || u == "WAVENUMBER(CM-1)" ||
        u == "WAVENUMBERS(CM-1)") {
        return XUnit::Wavenumber;
    }
    if (u == "MICROMETERS" || u == "MICROMETRES" || u == "MICROMETER" || u == "MICROMETRE" ||
        u == "MICRONS" || u == "MICRON" || u == "UM") {
        return XUnit::Micrometre;
    }
    if (u == "NANOMETERS" || u == "NANOMETRES" || u == "NANOMETER" || u == "NANOMETRE" ||
        u == "NM") {
        return XUnit::Nanometre;
    }
    if (u == "HZ" || u == "PPM" || u == "MHZ" || u == "KHZ") {
        return XUnit::Hertz;
    }
    if (u == "M/Z") {
        return XUnit::MassCharge;
    }
    return XUnit::Other;
}

// Empty when the block holds an infrared spectrum, else the message.
std::string RefusalOf(const Block& b, XUnit unit) {
    const std::string type = Compact(b.dataType);
    const auto refuse = [&](const char* what, const std::string& why) {
        return "This file holds " + std::string(what) + "\r\n(" + why +
               "),\r\nnot an infrared spectrum.";
    };
    const auto byType = [&] { return "##DATA TYPE=" + AsciiUpperCase(b.dataType); };
    const auto byUnit = [&] { return "abscissa unit " + std::string(b.xUnits); };
    if (b.ntuples) {
        return "This block holds its data as ##NTUPLES=,\r\nwhich this program does not read.";
    }
    if (Contains(type, "NMR")) {
        return refuse("an NMR spectrum", byType());
    }
    if (Contains(type, "MASS")) {
        return refuse("a mass spectrum", byType());
    }
    if (Contains(type, "RAMAN")) {
        return refuse("a Raman spectrum", byType());
    }
    const bool infrared = Contains(type, "INFRARED") || type == "IR" ||
                          type.starts_with("IRSPEC") || Contains(type, "NIR") ||
                          Contains(type, "FTIR");
    if (!infrared && (Contains(type, "UV") || Contains(type, "VIS"))) {
        return refuse("a UV-Vis spectrum", byType());
    }
    switch (unit) {
        case XUnit::Wavenumber:
        case XUnit::Micrometre:
            return {};
        case XUnit::Nanometre:
            return infrared ? std::string() : refuse("a UV-Vis spectrum", byUnit());
        case XUnit::None:
            if (infrared) {
                return {};
            }
            return "This file does not say what it holds\r\n(no ##DATA TYPE= and no ##XUNITS=).";
        case XUnit::Hertz:
            return refuse("an NMR spectrum", byUnit());
        case XUnit::MassCharge:
            return refuse("a mass spectrum", byUnit());
        case XUnit::Other:
            break;
    }
    if (infrared) {
        return "The abscissa unit \"" + std::string(b.xUnits) +
               "\" is not one this program reads\r\n(1/CM, MICROMETERS, NANOMETERS).";
    }
    return refuse("data of another kind", type.empty() ? byUnit() : byType());
}

double NumberOf(std::string_view value, const char* label) {
    const double v = ReadNumber(value);
    if (!std::isfinite(v)) {
        Fail(std::string("The value of ") + label + " is out of range.");
    }
    return v;
}

// How often c occurs in text: sixteen bytes at a time, each byte's matches
// counted down from zero in its own lane and summed before a lane can wrap.
std::size_t CountOf(std::string_view text, char c) {
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t count = 0;
#ifdef __SSE2__
    const __m128i wanted = _mm_set1_epi8(c);
    while (end - p >= 16) {
        __m128i lanes = _mm_setzero_si128();
        for (int k = 0; k < 255 && end - p >= 16; ++k, p += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(bytes, wanted));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += static_cast<std::size_t>(_mm_cvtsi128_si64(sums)) +
                 static_cast<std::size_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
    }
#endif
    return count + static_cast<std::size_t>(std::count(p, end, c));
}

// The 1-based line number of the line that starts at offset.
std::size_t LineNumberAt(std::string_view bytes, std::size_t offset) {
    const std::string_view before = bytes.substr(0, offset);
    const std::size_t feeds = CountOf(before, '\n');
    if (feeds > 0 || offset == 0) {
        return 1 + feeds;
    }
    // Lines that end with CR alone.
    return 1 + CountOf(before, '\r');
}

std::string Text(double v, char sep) {
    return DoubleText(v, sep);
}

std::string LineText(std::size_t number) {
    return IntegerText(static_cast<std::int64_t>(number));
}

[[noreturn]] void FailLine(std::size_t number, std::string_view line, const AsdfResult& r) {
    const std::string where = "Data line " + LineText(number);
    const std::size_t column = std::min(r.column, line.size());
    std::string shown(line.substr(column, 12));
    switch (r.status) {
        case AsdfStatus::TooMany:
            Fail("The data table holds more points than its\r\nheader gives, or more than " +
                 IntegerText(kMaxPoints) + " (" + where + ").");
        case AsdfStatus::DifWithoutBase:
            Fail(where + " holds a difference or a repeat\r\nwithout a value before it (\"" +
                 shown + "\").");
        case AsdfStatus::BadAbscissa:
            Fail(where + " does not start with an abscissa value.");
        case AsdfStatus::BadCharacter:
        case AsdfStatus::Ok:
            break;
    }
    Fail(where + " holds text that is no JCAMP-DX value\r\n(\"" + shown + "\", column " +
         LineText(column + 1) + ").");
}

// Where a line of an (X++(Y..Y)) table starts: its abscissa and the index of
// its first point.
constexpr double kDigitSizes[16] = {1,    1e-1, 1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,
                                    1e-8, 1e-9, 1e-10, 1e-11, 1e-12, 1e-13, 1e-14, 1e-15};

struct LineStart {
    std::size_t lineNumber;
    double x;
    std::size_t index;
    int xDecimals;
};

bool SameValue(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(a));
}

// Values a NaN stands for (a "?" in the file) are interpolated between their
// neighbours; returns how many there were.
std::size_t FillMissing(std::vector<double>& y) {
    std::size_t missing = 0;
    std::size_t previous = y.size();  // the last value known, none yet
    for (std::size_t i = 0; i < y.size(); ++i) {
        if (std::isnan(y[i])) {
            ++missing;
            continue;
        }
        if (previous == y.size()) {
            std::fill(y.begin(), y.begin() + static_cast<std::ptrdiff_t>(i), y[i]);
        } else if (i > previous + 1) {
            const double a = y[previous];
            const double span = static_cast<double>(i - previous);
            for (std::size_t k = previous + 1; k < i; ++k) {
                y[k] = a + (y[i] - a) * static_cast<double>(k - previous) / span;
            }
        }
        previous = i;
    }
    if (previous == y.size()) {
        Fail("The data table holds no values, only missing ones (?).");
    }
    std::fill(y.begin() + static_cast<std::ptrdiff_t>(previous) + 1, y.end(), y[previous]);
    return missing;
}

// The decoded points of a block, in the file's units: their abscissae in x,
// or, on an even grid, x0 + index x step.
struct Points {
    std::vector<double> x;
    std::vector<double> y;
    bool grid = false;
    bool missing = false;  // some ordinates are NaN
    double x0 = 0.0;
    double step = 0.0;
    std::string form;  // how the data were written: "DIFDUP", "(XY..XY)" ...
};

// A data table's count of points: at least one, as many as ##NPOINTS= gives
// where it is given, and no more than the program holds.
void CheckPointCount(std::size_t count, std::optional<std::int32_t> nPoints) {
    if (count == 0) {
        Fail("The data table holds no values.");
    }
    if (nPoints && count != static_cast<std::size_t>(*nPoints)) {
        Fail("The data table holds " + IntegerText(static_cast<std::int64_t>(count)) +
             " points,\r\nbut ##NPOINTS= gives " + IntegerText(*nPoints) + ".");
    }
    if (count > static_cast<std::size_t>(kMaxPoints)) {
        Fail("The data table holds " + IntegerText(static_cast<std::int64_t>(count)) +
             " points;\r\nthis program holds 1 to " + IntegerText(kMaxPoints) + ".");
    }
}

void ReadXyy(std::string_view bytes, const Block& b, double xFactor,
             std::optional<std::int32_t> nPoints, char sep, Points& points,
             std::vector<std::string>& notes) {
    const std::string_view data = bytes.substr(b.dataBegin, b.dataEnd - b.dataBegin);
    const std::size_t cap =
        static_cast<std::size_t>(nPoints ? *nPoints : kMaxPoints) + 2;  // room for a check value
    // The ordinates are decoded straight into the room of points.y, which a
    // later read finds already grown.
    std::vector<double>& ys = points.y;
    if (ys.size() < cap) {
        ys.resize(cap);
    }
    double* const y = ys.data();
    std::size_t count = 0;
    thread_local std::vector<LineStart> starts;
    starts.clear();
    Lines lines(data);
    lines.SetNumber(LineNumberAt(bytes, b.dataBegin) - 1);
    std::string_view line;
    bool checkNext = false;
    unsigned forms = 0;
    // A check value that does not repeat the ordinate before it, on a line
    // that holds nothing else: a fault unless it is the table's last line and
    // the points before it are all that ##NPOINTS= gives.
    std::optional<std::string> strayCheck;
    std::size_t strayCheckLine = 0;
    // How the digits are best found follows from the first line.
    bool longNumbers = false;
    bool firstLine = true;
    while (lines.Next(line)) {
        AsdfLine decoded;
        const std::size_t first = count;
        if (firstLine && !line.empty()) {
            longNumbers = HasLongNumbers(line);
            firstLine = false;
        }
        // A line after a difference line repeats the last ordinate: its
        // values are decoded one place earlier, over that ordinate, which is
        // put back once the check value is compared with it.
        const bool checked = checkNext && first > 0;
        const double last = checked ? y[first - 1] : 0.0;
        const AsdfResult r = DecodeAsdfLine(line, y + first - (checked ? 1 : 0), cap - first,
                                            decoded, longNumbers, bytes.data() + bytes.size());
        if (r.status != AsdfStatus::Ok) {
            FailLine(lines.Number(), line, r);
        }
        if (!decoded.hasX) {
            continue;  // an empty line or a comment
        }
        if (strayCheck && decoded.yCount > 0) {
            Fail(*strayCheck);
        }
        std::size_t index = first;
        if (checked && decoded.yCount > 0) {
            const double check = y[first - 1];
            y[first - 1] = last;
            if (!SameValue(check, last) && !(std::isnan(check) && std::isnan(last))) {
                std::string message = "Data line " + LineText(lines.Number()) +
                                      " starts with the check value " + Text(check, sep) +
                                      ",\r\nbut the line before it ends with " + Text(last, sep) +
                                      ".";
                if (decoded.yCount > 1) {
                    Fail(message);
                }
                strayCheck = std::move(message);
                strayCheckLine = lines.Number();
            }
            --decoded.yCount;
            index = first - 1;
        } else if (decoded.yCount == 0) {
            continue;  // an abscissa alone places no point
        }
        count += decoded.yCount;
        starts.push_back({lines.Number(), decoded.x * xFactor, index, decoded.xDecimals});
        forms |= decoded.forms;
        checkNext = decoded.endsWithDif;
    }
    points.form = AsdfFormName(forms);
    points.missing = (forms & kAsdfMissing) != 0;
    ys.resize(count);
    if (strayCheck) {
        if (!nPoints || count != static_cast<std::size_t>(*nPoints)) {
            Fail(*strayCheck);
        }
        notes.push_back("the check value on the last data line (" + LineText(strayCheckLine) +
                        ") does not repeat the last ordinate; the line is left out");
    }
    CheckPointCount(count, nPoints);

    const bool firstGiven = !b.firstX.empty();
    const bool lastGiven = !b.lastX.empty();
    const bool deltaGiven = !b.deltaX.empty();
    if (!firstGiven && !lastGiven && !deltaGiven && starts.size() == count) {
        // One ordinate to a line and nothing else to go by: the lines'
        // abscissae are the points' own.
        points.x.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            points.x[i] = starts[i].x;
        }
        return;
    }
    const double firstX = firstGiven ? NumberOf(b.firstX, "##FIRSTX=") : starts.front().x;
    double step = 0.0;
    if (firstGiven && lastGiven && count > 1) {
        step = (NumberOf(b.lastX, "##LASTX=") - firstX) / static_cast<double>(count - 1);
    } else if (deltaGiven) {
        step = NumberOf(b.deltaX, "##DELTAX=");
    } else if (starts.size() > 1 && starts.back().index > starts.front().index) {
        step = (starts.back().x - starts.front().x) /
               static_cast<double>(starts.back().index - starts.front().index);
    } else if (count > 1) {
        Fail("The header gives no abscissa step (##DELTAX=).");
    }
    // Every line's abscissa must follow from the line before it and the
    // step, to within a step and the last digits written, and the first
    // line's from ##FIRSTX=: a line lost or doubled moves the lines after it
    // by a line's points, while writers that round their abscissae let them
    // drift slowly from the even grid the points are placed on.
    const auto lastDigit = [&](const LineStart& start) {
        return (start.xDecimals < 16 ? kDigitSizes[start.xDecimals] : 0.0) * std::fabs(xFactor);
    };
    const LineStart* previous = nullptr;
    for (const LineStart& start : starts) {
        const double expected =
            previous == nullptr
                ? firstX + static_cast<double>(start.index) * step
                : previous->x + static_cast<double>(start.index - previous->index) * step;
        const double tolerance = std::fabs(step) + lastDigit(start) +
                                 (previous == nullptr ? 0.0 : lastDigit(*previous)) +
                                 1e-9 * std::fabs(expected);
        if (!(std::fabs(start.x - expected) <= tolerance)) {
            Fail("Data line " + LineText(start.lineNumber) + " starts at " + Text(start.x, sep) +
                 ",\r\nbut " +
                 (previous == nullptr ? std::string("##FIRSTX=") : "the line before it") +
                 " and the step place its first\r\npoint at " + Text(expected, sep) + ".");
        }
        previous = &start;
    }
    points.grid = true;
    points.x0 = firstX;
    points.step = step;
}

void ReadPairs(std::string_view bytes, const Block& b, double xFactor,
               std::optional<std::int32_t> nPoints, Points& points) {
    const std::string_view data = bytes.substr(b.dataBegin, b.dataEnd - b.dataBegin);
    const std::size_t cap =
        (static_cast<std::size_t>(nPoints ? *nPoints : kMaxPoints) + 1) * b.group;
    thread_local std::vector<double> values;
    values.clear();
    Lines lines(data);
    lines.SetNumber(LineNumberAt(bytes, b.dataBegin) - 1);
    std::string_view line;
    AsdfResult r;
    while (lines.Next(line)) {
        if (!DecodeAffnLine(line, values, cap, r)) {
            FailLine(lines.Number(), line, r);
        }
    }
    if (values.size() % b.group != 0) {
        Fail("The " + b.tableForm + " table of this file\r\nends inside a group of values.");
    }
    const std::size_t count = values.size() / b.group;
    CheckPointCount(count, nPoints);
    points.x.resize(count);
    points.y.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double x = values[i * b.group];
        if (std::isnan(x)) {
            Fail("An abscissa of the " + b.tableForm + " table is missing (?).");
        }
        points.x[i] = x * xFactor;
        points.y[i] = values[i * b.group + 1];
        points.missing = points.missing || std::isnan(points.y[i]);
    }
    points.form = b.tableForm.empty() ? b.tableName : b.tableForm;
}

// Turns the abscissae into wavenumbers held largest first, evenly spaced.
void ToWavenumbers(Points& p, XUnit unit, char sep, std::vector<std::string>& notes) {
    std::vector<double>& x = p.x;
    std::vector<double>& y = p.y;
    for (double& v : x) {
        if (!std::isfinite(v)) {
            Fail("An abscissa of this file is out of range.");
        }
    }
    if (unit == XUnit::Micrometre || unit == XUnit::Nanometre) {
        const double scale = unit == XUnit::Micrometre ? 1e4 : 1e7;
        for (const double v : x) {
            if (!(v > 0.0)) {
                Fail("An abscissa of " + Text(v, sep) +
                     (unit == XUnit::Micrometre ? " micrometres" : " nanometres") +
                     "\r\nhas no wavenumber.");
            }
        }
        DivideInto(scale, x.data(), x.size());
        notes.push_back(std::string("abscissae in ") +
                        (unit == XUnit::Micrometre ? "MICROMETERS" : "NANOMETERS") +
                        " converted to cm-1");
    } else {
        // A wavenumber of 0 or below has no wavelength, which the graph needs.
        std::size_t kept = 0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (x[i] > 0.0) {
                x[kept] = x[i];
                y[kept] = y[i];
                ++kept;
            }
        }
        if (kept < x.size()) {
            notes.push_back(IntegerText(static_cast<std::int64_t>(x.size() - kept)) +
                            " point(s) at 0 cm-1 or below left out");
            x.resize(kept);
            y.resize(kept);
        }
    }
    const std::size_t n = x.size();
    if (n < 2) {
        Fail("A spectrum needs at least two points\r\nabove 0 cm^(-1).");
    }
    if (x.front() < x.back()) {
        std::reverse(x.begin(), x.end());
        std::reverse(y.begin(), y.end());
    }
    if (!std::is_sorted(x.begin(), x.end(), std::greater<>())) {
        std::vector<std::size_t> order(n);
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return x[a] > x[b]; });
        std::vector<double> sx(n);
        std::vector<double> sy(n);
        for (std::size_t i = 0; i < n; ++i) {
            sx[i] = x[order[i]];
            sy[i] = y[order[i]];
        }
        x.swap(sx);
        y.swap(sy);
        notes.push_back("points sorted by wavenumber");
    }
    const double step = (x.back() - x.front()) / static_cast<double>(n - 1);
    if (!(step < 0.0)) {
        Fail("All abscissae of this file are the same.");
    }
    // The largest distance from the even grid, in four scans side by side:
    // the largest of exact values is the same in any order.
    const auto strayAt = [&](std::size_t i) {
        return std::fabs(x[i] - (x.front() + static_cast<double>(i) * step));
    };
    double stray0 = 0.0;
    double stray1 = 0.0;
    double stray2 = 0.0;
    double stray3 = 0.0;
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        stray0 = std::max(stray0, strayAt(i));
        stray1 = std::max(stray1, strayAt(i + 1));
        stray2 = std::max(stray2, strayAt(i + 2));
        stray3 = std::max(stray3, strayAt(i + 3));
    }
    for (; i < n; ++i) {
        stray0 = std::max(stray0, strayAt(i));
    }
    const double stray = std::max(std::max(stray0, stray1), std::max(stray2, stray3));
    if (stray <= kUnevenShare * std::fabs(step)) {
        return;
    }
    // Linear interpolation onto as many evenly spaced wavenumbers: each
    // between the two points around it, found first.
    std::vector<double> gx(n);
    std::vector<double> gy(n);
    thread_local std::vector<std::int32_t> left;
    left.resize(n);
    std::size_t j = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const double g = k + 1 == n ? x.back() : x.front() + static_cast<double>(k) * step;
        while (j + 2 < n && x[j + 1] > g) {
            ++j;
        }
        gx[k] = g;
        left[k] = static_cast<std::int32_t>(j);
    }
    InterpolateAt(x.data(), y.data(), left.data(), gx.data(), n, gy.data());
    x.swap(gx);
    y.swap(gy);
    notes.push_back("wavenumbers unevenly spaced: resampled by linear interpolation onto " +
                    IntegerText(static_cast<std::int64_t>(n)) + " evenly spaced points");
}

double MedianOf(const std::vector<double>& y) {
    std::vector<double> sorted(y);
    const auto middle = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2);
    std::nth_element(sorted.begin(), middle, sorted.end());
    return *middle;
}

// The smallest and largest value as one scan from the first value gives
// them, keeping the first of equal values and passing over values that are
// no numbers. Equal values have the same bits but for the zeros, so the
// values may be scanned in any number of interleaved scans, each started at
// the first value, and an extreme of zero is the first zero of all.
void Extremes(const std::vector<double>& y, double& low, double& high) {
    const double* const v = y.data();
    const std::size_t n = y.size();
    low = v[0];
    high = v[0];
    std::size_t i = 0;
#ifdef __SSE2__
    // Eight scans in four pairs of lanes, each pair named so that it stays
    // in a register; minpd gives v < lo ? v : lo lane by lane, as one scan
    // compares.
    __m128d lo0 = _mm_set1_pd(v[0]);
    __m128d lo1 = lo0, lo2 = lo0, lo3 = lo0;
    __m128d hi0 = lo0, hi1 = lo0, hi2 = lo0, hi3 = lo0;
    for (; i + 8 <= n; i += 8) {
        const __m128d x0 = _mm_loadu_pd(v + i);
        const __m128d x1 = _mm_loadu_pd(v + i + 2);
        const __m128d x2 = _mm_loadu_pd(v + i + 4);
        const __m128d x3 = _mm_loadu_pd(v + i + 6);
        lo0 = _mm_min_pd(x0, lo0);
        lo1 = _mm_min_pd(x1, lo1);
        lo2 = _mm_min_pd(x2, lo2);
        lo3 = _mm_min_pd(x3, lo3);
        hi0 = _mm_max_pd(x0, hi0);
        hi1 = _mm_max_pd(x1, hi1);
        hi2 = _mm_max_pd(x2, hi2);
        hi3 = _mm_max_pd(x3, hi3);
    }
    alignas(16) double lanes[16];
    _mm_store_pd(lanes, lo0);
    _mm_store_pd(lanes + 2, lo1);
    _mm_store_pd(lanes + 4, lo2);
    _mm_store_pd(lanes + 6, lo3);
    _mm_store_pd(lanes + 8, hi0);
    _mm_store_pd(lanes + 10, hi1);
    _mm_store_pd(lanes + 12, hi2);
    _mm_store_pd(lanes + 14, hi3);
    for (std::size_t j = 0; j < 8; ++j) {
        low = lanes[j] < low ? lanes[j] : low;
        high = lanes[8 + j] > high ? lanes[8 + j] : high;
    }
#endif
    for (; i < n; ++i) {
        low = v[i] < low ? v[i] : low;
        high = v[i] > high ? v[i] : high;
    }
    if (low == 0.0) {
        low = *std::find(v, v + n, 0.0);
    }
    if (high == 0.0) {
        high = *std::find(v, v + n, 0.0);
    }
}

// How the ordinates as written become %T: linearly, pct = a x value + b,
// or as absorbances, pct = 100 x 10^-(a x value).
struct Ordinates {
    bool absorbance = false;
    bool scaled = false;
    double a = 1.0;
    double b = 0.0;
};

Ordinates DecideOrdinates(const std::vector<double>& y, double scale, const Block& b, char sep,
                          std::vector<std::string>& notes) {
    Ordinates result;
    const std::string unit = Compact(b.yUnits);
    const std::string unitText(b.yUnits.empty() ? std::string_view("(none)") : b.yUnits);
    double rawLow = 0.0;
    double rawHigh = 0.0;
    Extremes(y, rawLow, rawHigh);
    const double low = std::min(rawLow * scale, rawHigh * scale);
    const double high = std::max(rawLow * scale, rawHigh * scale);
    if (!std::isfinite(low) || !std::isfinite(high)) {
        Fail("An ordinate of this file is out of range.");
    }
    const bool transmittance = Contains(unit, "TRANSMITTANCE") || unit == "T" || unit == "%T";
    const bool absorbance = !transmittance && (Contains(unit, "ABSORBANCE") || unit == "A" ||
                                               unit == "ABS" || unit == "AU");
    if (transmittance) {
        // Percent values lie above 1.5 for the most part, or reach well
        // beyond it; a fraction may stray above 1.5 at a few points. MAXY
        // is not asked: writers give it for other scalings than the data's.
        const bool percent = Contains(unit, "%") || Contains(unit, "PERCENT") || high > 10.0 ||
                             (high > 1.5 && MedianOf(y) * scale > 1.5);
        const double factor = percent ? 1.0 : 100.0;
        if (std::max(std::fabs(high), std::fabs(low)) * factor <= kMostPercent) {
            result.a = scale * factor;
            notes.push_back(percent ? "ordinates: transmittance in percent"
                                    : "ordinates: transmittance as a fraction, shown in percent");
            return result;
        }
        notes.push_back("ordinates labelled " + unitText + " reach " + Text(high, sep) +
                        ", no transmittance");
    } else if (absorbance) {
        if (low >= -std::log10(kMostPercent / 100.0)) {
            result.absorbance = true;
            result.a = scale;
            notes.push_back("ordinates: absorbance, shown as transmittance");
            return result;
        }
        notes.push_back("ordinates labelled " + unitText + " reach " + Text(low, sep) +
                        ", beyond the transmittance scale");
    }
    // Any other unit: from its smallest value at 0 to its largest at 100.
    result.scaled = true;
    const double span = high - low;
    if (span > 0.0) {
        result.a = 100.0 * scale / span;
        result.b = -100.0 * low / span;
    } else {
        result.a = 0.0;
        result.b = 50.0;
    }
    notes.push_back("ordinates in " + unitText + " from " + Text(low, sep) + " to " +
                    Text(high, sep) + " shown (scaled) into 0 to 100");
    return result;
}

// The stored ordinate before rounding of every value as written, in the
// order written; absorbances are taken relative to the value at baseIndex.
void StoredValues(const std::vector<double>& y, const Ordinates& o, double yScale,
                  std::size_t baseIndex, std::vector<double>& stored) {
    stored.resize(y.size());
    if (o.absorbance) {
        const AbsorbancePowers powers = MakeAbsorbancePowers(y[baseIndex], o.a, 100.0 * yScale);
        StoredOfAbsorbances(y.data(), y.size(), powers, stored.data());
    } else {
        const double a = o.a * yScale;
        const double b = o.b * yScale;
        const double* const from = y.data();
        double* const to = stored.data();
        const std::size_t n = y.size();
        std::size_t i = 0;
#ifdef __SSE2__
        const __m128d av = _mm_set1_pd(a);
        const __m128d bv = _mm_set1_pd(b);
        for (; i + 4 <= n; i += 4) {
            const __m128d y0 = _mm_loadu_pd(from + i);
            const __m128d y1 = _mm_loadu_pd(from + i + 2);
            _mm_storeu_pd(to + i, _mm_add_pd(_mm_mul_pd(y0, av), bv));
            _mm_storeu_pd(to + i + 2, _mm_add_pd(_mm_mul_pd(y1, av), bv));
        }
#endif
        for (; i < n; ++i) {
            to[i] = from[i] * a + b;
        }
    }
}

// Labels shown on the graph, as the plain reader fills them.
void FillLabels(const Block& b, const Block* link, TextEncoding encoding, Spectrum& s) {
    const auto text = [&](std::string_view v) { return ToUtf8(v, encoding); };
    std::string_view title = b.title;
    if (title.empty() && link != nullptr) {
        title = link->title;
    }
    s.Label14[0] = text(title);
    s.Label14[1] = text(b.date.empty() ? b.longDate : b.date);
    const std::string state = text(b.state);
    s.Label14[2] =
        CharacterCount(state) + 8 > 28 ? std::string(FirstCharacters(state, 20)) + "..." : state;
    const std::string system = text(b.spectrometer);
    s.Label14[4] = CharacterCount(system) + 27 > 60
                       ? std::string(FirstCharacters(system, 32)) + "..."
                       : system;
    s.Label14[5] = "XUNITS=" + text(b.xUnits);
    s.Label14[6] = "YUNITS=" + text(b.yUnits);
}

void ListHeader(std::string_view bytes, std::size_t from, std::size_t to, TextEncoding encoding,
                HeaderListFiller& headerList) {
    Lines lines(bytes.substr(from, to - from));
    std::string_view line;
    while (headerList.Count() < kMaxListedHeaderLines && lines.Next(line)) {
        if (encoding == TextEncoding::Utf8) {
            headerList.Add(line);  // as it is
        } else {
            headerList.Add(ToUtf8(line.substr(0, kMaxKeptHeaderLine), encoding));
        }
    }
}

void Read(std::string_view bytes, const ReadRequest& request, Spectrum& s,
          HeaderListFiller& headerList, bool& dataFound) {
    const char sep = request.decimalSeparator;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);  // a UTF-8 byte order mark
    }
    thread_local std::vector<Block> blocks;
    ScanBlocks(bytes, blocks);
    const std::vector<std::size_t> numbered = NumberedBlocks(blocks);
    dataFound = std::any_of(blocks.begin(), blocks.end(),
                            [](const Block& b) { return b.table != Table::None || b.ntuples; });
    if (!dataFound) {
        Fail(kNoData);
    }

    // The block to read.
    std::size_t chosen = blocks.size();
    std::size_t chosenNumber = 0;
    if (request.block > 0) {
        const auto wanted = static_cast<std::size_t>(request.block);
        if (wanted > numbered.size()) {
            Fail("This file holds " + IntegerText(static_cast<std::int64_t>(numbered.size())) +
                 (numbered.size() == 1 ? " block" : " blocks") + ";\r\nthere is no block " +
                 IntegerText(request.block) + ".");
        }
        chosen = numbered[wanted - 1];
        chosenNumber = wanted;
        const Block& b = blocks[chosen];
        if (b.table == Table::None && !b.ntuples) {
            Fail("Block " + IntegerText(request.block) + " of this file holds no spectrum data.");
        }
        const std::string refusal = RefusalOf(b, XUnitOf(b.xUnits));
        if (!refusal.empty()) {
            Fail(refusal);
        }
    } else {
        std::string firstRefusal;
        for (std::size_t k = 0; k < numbered.size() && chosen == blocks.size(); ++k) {
            const Block& b = blocks[numbered[k]];
            if (b.table == Table::None && !b.ntuples) {
                continue;
            }
            const std::string refusal = RefusalOf(b, XUnitOf(b.xUnits));
            if (refusal.empty()) {
                chosen = numbered[k];
                chosenNumber = k + 1;
            } else if (firstRefusal.empty()) {
                firstRefusal = refusal;
            }
        }
        if (chosen == blocks.size()) {
            Fail(firstRefusal.empty() ? std::string(kNoData) : firstRefusal);
        }
    }
    const Block& b = blocks[chosen];
    const Block* link = nullptr;
    if (b.inLink) {
        for (const Block& candidate : blocks) {
            if (candidate.link) {
                link = &candidate;
                break;
            }
        }
    }
    // The character set is told from the text around the data table.
    const std::string_view before = bytes.substr(0, b.dataBegin);
    const std::string_view after = bytes.substr(std::min(b.dataEnd, bytes.size()));
    TextEncoding encoding = GuessTextEncoding(before);
    if (encoding == TextEncoding::Utf8 && !IsValidUtf8(after)) {
        encoding = GuessTextEncoding(after);
    }

    // Header numbers.
    if (!b.multGlobal.empty()) {
        s.MultGlobal = NumberOf(b.multGlobal, "##MultGlobal=");
    }
    const double xFactor = b.xFactor.empty() ? 1.0 : NumberOf(b.xFactor, "##XFACTOR=");
    const double yFactor = b.yFactor.empty() ? 1.0 : NumberOf(b.yFactor, "##YFACTOR=");
    if (xFactor == 0.0) {
        Fail("The abscissa factor (##XFACTOR=) is 0.");
    }
    std::optional<std::int32_t> nPoints;
    if (!b.nPoints.empty()) {
        const double count = NumberOf(b.nPoints, "##NPOINTS=");
        if (!(count >= 1.0 && count <= static_cast<double>(kMaxPoints))) {
            Fail("The file has " + Text(count, sep) +
                 " points (##NPOINTS=);\r\nthis program holds 1 to " + IntegerText(kMaxPoints) +
                 ".");
        }
        nPoints = ToLong(count);
    }

    std::vector<std::string> notes;
    thread_local Points points;
    points.x.clear();
    points.grid = false;
    points.missing = false;
    if (b.table == Table::Xyy) {
        ReadXyy(bytes, b, xFactor, nPoints, sep, points, notes);
    } else {
        ReadPairs(bytes, b, xFactor, nPoints, points);
    }

    if (points.missing) {
        const std::size_t missing = FillMissing(points.y);
        notes.push_back(IntegerText(static_cast<std::int64_t>(missing)) +
                        " missing value(s) (?) interpolated");
    }
    XUnit unit = XUnitOf(b.xUnits);
    if (unit == XUnit::None) {
        unit = XUnit::Wavenumber;
        notes.push_back("no abscissa unit given: read as 1/CM");
    }
    if (b.tableName == "PEAKTABLE") {
        notes.push_back("a peak table, drawn as a line through its peaks");
    }
    // Wavenumbers on an even grid with both ends above 0 stay as the grid;
    // any others are computed, converted, ordered and evened out.
    const std::size_t count = points.y.size();
    const double gridEnd = points.x0 + static_cast<double>(count - 1) * points.step;
    const bool onGrid = points.grid && unit == XUnit::Wavenumber && count > 1 &&
                        points.step != 0.0 && points.x0 > 0.0 && gridEnd > 0.0;
    if (!onGrid) {
        if (points.grid) {
            points.x.resize(count);
            double* const x = points.x.data();
            const double x0 = points.x0;
            const double step = points.step;
            std::size_t i = 0;
#ifdef __SSE2__
            // Two at a time; the indices are whole numbers, exact as doubles.
            __m128d index = _mm_setr_pd(0.0, 1.0);
            const __m128d two = _mm_set1_pd(2.0);
            for (; i + 2 <= count; i += 2) {
                _mm_storeu_pd(x + i,
                              _mm_add_pd(_mm_set1_pd(x0), _mm_mul_pd(index, _mm_set1_pd(step))));
                index = _mm_add_pd(index, two);
            }
#endif
            for (; i < count; ++i) {
                x[i] = x0 + static_cast<double>(i) * step;
            }
        }
        ToWavenumbers(points, unit, sep, notes);
    }
    const double multiplier = s.MultGlobal;
    const Ordinates ordinates = DecideOrdinates(points.y, yFactor * multiplier, b, sep, notes);

    // The record, largest wavenumber first. Every %T lies within +-1000, so
    // the stored ordinates are within range.
    const auto n = static_cast<std::int32_t>(points.y.size());
    SizePoints(s, n);
    std::int32_t* const rawY = s.RawY.data();
    float* const waveX = s.WaveX.data();
    double firstX = 0.0;
    double lastX = 0.0;
    std::int32_t rawLow = 0;
    std::int32_t rawHigh = 0;
    // Points run from the largest wavenumber of the grid, so a grid that
    // rises is placed backward; absorbances are taken relative to the first
    // point's value.
    const bool backward = onGrid && points.step >= 0.0;
    thread_local std::vector<double> stored;
    StoredValues(points.y, ordinates, s.YFactor, backward ? points.y.size() - 1 : 0, stored);
    if (onGrid) {
        // Checked at both ends, the grid fits a Single everywhere.
        ToSingle(points.x0);
        ToSingle(gridEnd);
        PlaceOnGrid(stored.data(), n, backward, points.x0, points.step, rawY, waveX, rawLow,
                    rawHigh);
        firstX = backward ? gridEnd : points.x0;
        lastX = backward ? points.x0 : gridEnd;
    } else {
        const double* const x = points.x.data();
        for (std::int32_t k = 1; k <= n; ++k) {
            SingleOf(x[k - 1]);  // fails where a wavenumber is no Single
        }
        PlacePoints(stored.data(), x, n, rawY, waveX, rawLow, rawHigh);
        firstX = points.x.front();
        lastX = points.x.back();
    }
    s.RawYMin = rawLow;
    s.RawYMax = rawHigh;
    s.FirstX = firstX;
    s.DeltaX = (lastX - firstX) / static_cast<double>(n - 1);
    s.LastX = static_cast<double>(s.StepCount) * s.DeltaX + s.FirstX;
    s.FirstWL = Divide(10000.0, s.FirstX);
    s.LastWL = Divide(10000.0, s.LastX);
    ShowWholeSpectrum(s);
    SetYAxisFromExtremes(s, ToSingle(s.RawYMax / s.YFactor), ToSingle(s.RawYMin / s.YFactor));
    s.PointCountLabel = "Number of points: " + IntegerText(n);

    FillLabels(b, link, encoding, s);
    if (link != nullptr) {
        ListHeader(bytes, 0, b.linkHeader, encoding, headerList);
        ListHeader(bytes, b.begin, b.headerEnd, encoding, headerList);
    } else {
        ListHeader(bytes, b.begin, b.headerEnd, encoding, headerList);
    }

    s.DiagnosticList.push_back("read as standard JCAMP-DX: " + points.form + ", " + IntegerText(n) +
                               " points");
    if (numbered.size() > 1) {
        s.DiagnosticList.push_back(
            "block " + IntegerText(static_cast<std::int64_t>(chosenNumber)) + " of " +
            IntegerText(static_cast<std::int64_t>(numbered.size())) + " shown");
        std::size_t named = 0;
        for (std::size_t k = 0; k < numbered.size(); ++k) {
            if (k + 1 == chosenNumber) {
                continue;
            }
            if (++named > kMaxNamedBlocks) {
                s.DiagnosticList.push_back(
                    "and " +
                    IntegerText(static_cast<std::int64_t>(numbered.size() - k -
                                                          (chosenNumber > k + 1 ? 1 : 0))) +
                    " more blocks");
                break;
            }
            const Block& other = blocks[numbered[k]];
            s.DiagnosticList.push_back("block " + IntegerText(static_cast<std::int64_t>(k + 1)) +
                                       ": \"" + ToUtf8(other.title, encoding) + "\" (" +
                                       ToUtf8(other.dataType, encoding) + ")");
        }
    }
    for (std::string& note : notes) {
        s.DiagnosticList.push_back(ToUtf8(note, encoding));
    }
    s.DiagnosticList.push_back("Yirmin = " + Text(s.RawYMin / s.YFactor, sep));
    s.DiagnosticList.push_back("Yirmax = " + Text(s.RawYMax / s.YFactor, sep));
    if (ordinates.scaled) {
        s.Caption = SpectrumCaption(request.fileTitle, true);
    }

    EndRead(s, sep, IntervalForm::AsIs);
    PrepareExportTexts(s, sep);
}

}  // namespace

StandardJcampRead ReadStandardJcamp(std::string_view bytes, const ReadRequest& request,
                                    Spectrum& s) {
    BeginRead(request, s);
    s.YFactor = kTransmittanceYFactor;
    for (std::string& label : s.Label14) {
        label.clear();
    }
    // The header lines, in the room of the last read's.
    HeaderListFiller headerList(s.HeaderList);
    s.DiagnosticList.clear();
    StandardJcampRead result;
    result.outcome =
        GuardedRead(s, kOutOfRange, [&] { Read(bytes, request, s, headerList, result.dataFound); });
    return result;
}

bool JcampHasSeveralBlocks(std::string_view bytes) {
    thread_local std::vector<Block> blocks;
    ScanBlocks(bytes, blocks);
    return NumberedBlocks(blocks).size() > 1;
}

}  // namespace halvorn
