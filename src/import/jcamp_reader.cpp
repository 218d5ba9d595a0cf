#include "import/jcamp_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

#include "core/character_set.h"
#include "core/export_text.h"
#include "core/numbers.h"
#include "import/jcamp_standard.h"
#include "import/number_scan.h"
#include "import/read_frame.h"
#include "import/transmittance.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define HALVORN_VECTOR_POINTS 1
#endif

namespace halvorn {

namespace {

constexpr std::size_t kMaxHeaderLines = 80;
// The longest file read: 32767 points written one to a line with long numbers
// take about 2 MB; the rest allows for comments and further blocks.
constexpr std::uintmax_t kMaxFileBytes = 16 * 1048576;

const char* const kNoXyData =
    "Cannot open!\r\nThis file is corrupted,\r\nor has unsupported format.";
const char* const kCrOnly =
    "The lines of this file end with CR alone;\r\nonly LF and CR LF line ends are read.";
const char* const kOutOfRange =
    "A number in this file is out of the range\r\nthis program can hold.";

// A refusal because of the file's form rather than its content: compressed
// or packed data, pairs instead of a table, labels the table needs missing,
// ordinates that are no transmittances. The general reader then reads the
// file.
struct OtherForm {
    std::string firstPart;
};

[[noreturn]] void FailOtherForm(std::string firstPart) {
    throw OtherForm{std::move(firstPart)};
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool StartsWith(std::string_view line, std::string_view label) {
    return line.substr(0, label.size()) == label;
}

// A value of the file shown in a message, shortened when it is long.
std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 24;
    return "\"" + std::string(text.substr(0, kShown)) + (text.size() > kShown ? "...\"" : "\"");
}

enum class AbscissaUnit { Wavenumber, Micrometre, Other };

// Unit values are compared without the blanks around them and without regard
// to case; CM-1 is another spelling of 1/CM.
AbscissaUnit AbscissaUnitOf(std::string_view value) {
    const std::string unit = AsciiUpperCase(TrimBlanks(value));
    if (unit == "1/CM" || unit == "CM-1") {
        return AbscissaUnit::Wavenumber;
    }
    if (unit == "MICROMETERS") {
        return AbscissaUnit::Micrometre;
    }
    return AbscissaUnit::Other;
}

bool IsAbsorbanceUnit(std::string_view value) {
    return AsciiUpperCase(TrimBlanks(value)) == "ABSORBANCE";
}

// What the header lines before ##XYDATA say.
struct Header {
    bool dataFound = false;
    std::optional<std::string> xUnits;
    std::string yUnits;
    double yFactor = 0.0;
    double deltaX = 1.0;
    bool deltaXGiven = false;
    double xFactor = 1.0;
    std::optional<std::int32_t> nPoints;
    double firstX = 0.0;
    bool firstXGiven = false;
    double lastX = 0.0;
    bool lastXGiven = false;
    double minY = 0.0;
    bool minYGiven = false;
    double maxY = 0.0;
    bool maxYGiven = false;
};

class HeaderReader {
  public:
    HeaderReader(Spectrum& s, char separator) : s_(s), separator_(separator) {}

    // Applies one header line; returns true on the ##XYDATA line. Every
    // label read starts with "##" and is told by the letter after it first.
    bool Take(std::string_view line) {
        if (line.size() < 3 || line[0] != '#' || line[1] != '#') {
            return false;
        }
        std::string_view value;
        switch (line[2]) {
            case 'X':
                if (StartsWith(line, "##XYDATA")) {
                    return true;
                }
                if (Label(line, "##XUNITS=", value)) {
                    h_.xUnits = std::string(value);
                    s_.Label14[5] = "XUNITS=" + std::string(value);
                } else if (Label(line, "##XFACTOR=", value)) {
                    h_.xFactor = ReadNumber(value);
                }
                break;
            case 'T':
                if (Label(line, "##TITLE=", value)) {
                    s_.Label14[0] = std::string(value);
                }
                break;
            case 'D':
                if (Label(line, "##DATE=", value)) {
                    s_.Label14[1] = std::string(value);
                } else if (Label(line, "##DELTAX=", value)) {
                    h_.deltaX = ReadNumber(value);
                    h_.deltaXGiven = true;
                }
                break;
            case 'S':
                if (Label(line, "##SPECTROMETER/DATA SYSTEM=", value)) {
                    s_.Label14[4] = line.size() > 60 ? std::string(value.substr(0, 32)) + "..."
                                                     : std::string(value);
                } else if (Label(line, "##STATE=", value)) {
                    s_.Label14[2] = line.size() > 28 ? std::string(value.substr(0, 20)) + "..."
                                                     : std::string(value);
                }
                break;
            case 'Y':
                if (Label(line, "##YUNITS=", value)) {
                    h_.yUnits = std::string(value);
                    s_.Label14[6] = "YUNITS=" + std::string(value);
                } else if (Label(line, "##YFACTOR=", value)) {
                    h_.yFactor = ReadNumber(value);
                    s_.DiagnosticList.push_back("Yfactor = " + DoubleText(h_.yFactor, separator_));
                }
                break;
            case 'N':
                if (Label(line, "##NPOINTS=", value)) {
                    const double count = ReadNumber(value);
                    if (!(std::fabs(count) < 2147483647.0)) {
                        Fail("The number of points " + Quoted(value) +
                             " (##NPOINTS=)\r\nis out of range.");
                    }
                    h_.nPoints = ToLong(count);
                    s_.DiagnosticList.push_back(IntegerText(*h_.nPoints));
                }
                break;
            case 'F':
                if (Label(line, "##FIRSTX=", value)) {
                    h_.firstX = ReadNumber(value);
                    h_.firstXGiven = true;
                }
                break;
            case 'L':
                if (Label(line, "##LASTX=", value)) {
                    h_.lastX = ReadNumber(value);
                    h_.lastXGiven = true;
                }
                break;
            case 'M':
                if (Label(line, "##MINY=", value)) {
                    h_.minY = ReadNumber(value);
                    h_.minYGiven = true;
                } else if (Label(line, "##MAXY=", value)) {
                    h_.maxY = ReadNumber(value);
                    h_.maxYGiven = true;
                } else if (Label(line, "##MultGlobal=", value)) {
                    s_.MultGlobal = ReadNumber(value);
                }
                break;
            default:
                break;
        }
        return false;
    }

    Header& Result() { return h_; }

  private:
    static bool Label(std::string_view line, std::string_view label, std::string_view& value) {
        if (!StartsWith(line, label)) {
            return false;
        }
        value = line.substr(label.size());
        return true;
    }

    Spectrum& s_;
    char separator_;
    Header h_;
};

// One line of the data table: the abscissa and where its ordinates lie in the
// table's run of ordinates as written.
struct DataLine {
    double x = 0.0;                // abscissa token times XFACTOR, in the file's unit
    double xResolution = 0.0;      // the abscissa's last written digit, times XFACTOR
    std::uint32_t lineNumber = 0;  // 1-based line of the file (files are far shorter)
    std::uint32_t firstY = 0;      // index of its first ordinate in DataTable::y
    std::uint32_t yCount = 0;      // number of its ordinates
};

// A run of values that grows at its end and is written through a pointer,
// without values set before they are written.
class ValueRun {
  public:
    std::size_t size() const { return size_; }
    double* data() { return values_.get(); }
    const double* data() const { return values_.get(); }
    double& operator[](std::size_t i) { return values_[i]; }
    void clear() { size_ = 0; }
    // Shortens the run to its first size values.
    void resize(std::size_t size) { size_ = std::min(size, size_); }
    void push_back(double value) {
        *Room(1) = value;
        ++size_;
    }
    // Where the next values go, with room for at least more of them.
    double* Room(std::size_t more) {
        if (capacity_ - size_ < more) {
            Grow(size_ + more);
        }
        return values_.get() + size_;
    }
    // The values up to end, which lies within the room given, belong to the
    // run.
    void SetEnd(const double* end) { size_ = static_cast<std::size_t>(end - values_.get()); }

  private:
    void Grow(std::size_t needed) {
        const std::size_t capacity = std::max(needed, 2 * capacity_);
        auto values = std::make_unique_for_overwrite<double[]>(capacity);
        std::copy(values_.get(), values_.get() + size_, values.get());
        values_ = std::move(values);
        capacity_ = capacity;
    }

    std::unique_ptr<double[]> values_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

struct DataTable {
    std::vector<DataLine> lines;
    ValueRun y;  // every line's ordinate tokens, not yet scaled
};

// The compressed forms write digits as letters (@, A-Z, a-s, %) or glue values
// together with their signs (400+123-45).
bool LooksCompressed(std::string_view t) {
    for (std::size_t k = 0; k < t.size(); ++k) {
        const char c = t[k];
        if (c == '@' || c == '%' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 's')) {
            return true;
        }
        if ((c == '+' || c == '-') && k > 0 && t[k - 1] != 'E' && t[k - 1] != 'e') {
            return true;
        }
    }
    return false;
}

// 10 to the power given, as std::pow gives it; the powers most tokens need
// are computed once.
double TenToThe(double power) {
    constexpr int kCached = 64;
    static const std::array<double, 2 * kCached + 1> kPowers = [] {
        std::array<double, 2 * kCached + 1> powers{};
        for (int k = -kCached; k <= kCached; ++k) {
            powers[static_cast<std::size_t>(k + kCached)] = std::pow(10.0, k);
        }
        return powers;
    }();
    if (power >= -kCached && power <= kCached) {
        return kPowers[static_cast<std::size_t>(static_cast<int>(power) + kCached)];
    }
    return std::pow(10.0, power);
}

// The size of the last digit a number token is written with: "399.212" gives
// 0.001, "232" 1, "4.0013e+03" 0.1.
double TokenResolution(std::string_view t) {
    std::size_t e = 0;
    while (e < t.size() && t[e] != 'E' && t[e] != 'e') {
        ++e;
    }
    const std::string_view mantissa = t.substr(0, e);
    const std::size_t point = mantissa.find('.');
    const int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(mantissa.size() - point - 1);
    double exponent = 0.0;
    if (e < t.size()) {
        exponent = ParseNumber(t.substr(e + 1));
    }
    return TenToThe(std::clamp(exponent, -400.0, 400.0) - decimals);
}

// Values are separated by blanks or tabs (a CR counts as one), in runs or
// alone; "$$" starts a comment that runs to the end of the line.
class TokenCursor {
  public:
    explicit TokenCursor(std::string_view line) : line_(line), end_(line.size()) {}

    // The next token, or an empty view at the end of the line or its comment.
    std::string_view Next() {
        while (i_ < end_ && IsSeparator(line_[i_])) {
            ++i_;
        }
        const std::size_t start = i_;
        while (i_ < end_ && !IsSeparator(line_[i_])) {
            if (line_[i_] == '$' && i_ + 1 < line_.size() && line_[i_ + 1] == '$') {
                end_ = i_;
                break;
            }
            ++i_;
        }
        return line_.substr(start, i_ - start);
    }

  private:
    static bool IsSeparator(char c) { return IsBlank(c) || c == '\r'; }

    std::string_view line_;
    std::size_t end_;
    std::size_t i_ = 0;
};

// Whether the line, after blanks, starts with "##" (a labelled line).
bool IsLabelled(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) {
        ++i;
    }
    return i + 1 < line.size() && line[i] == '#' && line[i + 1] == '#';
}

// The text's lines, one at a time: each ends at a LF, a CR just before the LF
// belongs to the line end, and bytes after the last LF are no line.
class TextLines {
  public:
    explicit TextLines(std::string_view bytes) : bytes_(bytes), lastLineEnd_(bytes.rfind('\n')) {}

    bool Next(std::string_view& line) {
        const std::size_t lf = bytes_.find('\n', start_);
        if (lf == std::string_view::npos) {
            return false;
        }
        std::size_t end = lf;
        if (end > start_ && bytes_[end - 1] == '\r') {
            --end;
        }
        line = bytes_.substr(start_, end - start_);
        start_ = lf + 1;
        ++count_;
        return true;
    }

    // The lines given so far; the last one given is line Count() of the file.
    std::size_t Count() const { return count_; }

    // The lines from the next one on, ending with the last LF (empty when no
    // line is left), and passing over the next lines, of length bytes with
    // their LFs, without giving them.
    std::string_view RestOfLines() const {
        return lastLineEnd_ == std::string_view::npos || start_ > lastLineEnd_
                   ? std::string_view()
                   : bytes_.substr(start_, lastLineEnd_ + 1 - start_);
    }
    void PassLines(std::size_t length, std::size_t lines) {
        start_ += length;
        count_ += lines;
    }

  private:
    std::string_view bytes_;
    std::size_t lastLineEnd_;
    std::size_t start_ = 0;
    std::size_t count_ = 0;
};

// What a character is to the quick line reader: 1 separates values, 2 ends
// the line, 0 is anything else.
constexpr std::array<unsigned char, 256> kCharacterKinds = [] {
    std::array<unsigned char, 256> kind{};
    kind[' '] = 1;
    kind['\t'] = 1;
    kind['\r'] = 1;
    kind['\n'] = 2;
    return kind;
}();

inline unsigned KindOf(char c) {
    return kCharacterKinds[static_cast<unsigned char>(c)];
}

// The digit's value, or more than 9 for any other character.
inline unsigned DigitOf(char c) {
    return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0';
}

// Reads one short plain number at p, which lies before the line's LF: at
// most 15 significant digits and a power of ten of at most 22 either way, its
// end a separator or the LF. Gives the value ScanPlainNumber gives and the
// power of ten of its last written digit, and leaves p after it; returns false
// for any other token. The LF stops every scan. For long numbers the digits
// are read 8 bytes at a time where the text holds 8 more bytes; for short
// ones, one at a time is faster.
[[gnu::always_inline]] inline bool ReadShortNumber(const char*& p, const char* textEnd,
                                                   bool longNumbers, double& value, int& power) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const bool negative = *p == '-';
    p += (*p == '+' || *p == '-') ? 1 : 0;
    // At most 19 digits, so that the mantissa cannot wrap; it then has at most
    // 15 significant digits exactly when it is below 10^15.
    std::uint64_t mantissa = 0;
    const char* const digitsStart = p;
    if (longNumbers && textEnd - p >= 8) {
        // Up to 8 digits in one step; any further ones one at a time.
        p += LeadingDigitsOfWord(p, mantissa);
    }
    for (unsigned d; (d = DigitOf(*p)) <= 9; ++p) {
        mantissa = mantissa * 10 + d;
    }
    std::ptrdiff_t digits = p - digitsStart;
    if (KindOf(*p) != 0 && digits > 0 && digits <= 15) {
        // A whole number, the common case.
        const auto m = static_cast<double>(static_cast<std::int64_t>(mantissa));
        value = negative ? -m : m;
        power = 0;
        return true;
    }
    int exponent = 0;
    if (*p == '.') {
        const char* const decimalsStart = ++p;
        for (unsigned d; (d = DigitOf(*p)) <= 9; ++p) {
            mantissa = mantissa * 10 + d;
        }
        const std::ptrdiff_t decimals = p - decimalsStart;
        digits += decimals;
        exponent = -static_cast<int>(std::min<std::ptrdiff_t>(decimals, 100));
    }
    bool ok = digits > 0 && digits <= 19;
    if (ok && (*p == 'E' || *p == 'e')) {
        ++p;
        const bool negativeExponent = *p == '-';
        p += (*p == '+' || *p == '-') ? 1 : 0;
        const char* const exponentStart = p;
        int written = 0;
        for (; *p >= '0' && *p <= '9' && written <= 400; ++p) {
            written = written * 10 + (*p - '0');
        }
        ok = p > exponentStart && written <= 400;
        exponent += negativeExponent ? -written : written;
    }
    if (!ok || KindOf(*p) == 0 || mantissa >= 1000000000000000 || exponent < -22 || exponent > 22) {
        return false;
    }
    // Below 10^15, the mantissa converts as a signed integer, in one step.
    const auto m = static_cast<double>(static_cast<std::int64_t>(mantissa));
    const double magnitude = exponent < 0 ? m / kPowers[-exponent] : m * kPowers[exponent];
    value = negative ? -magnitude : magnitude;
    power = exponent;
    return true;
}

// Appends a data line, its parts written where it stays: a record built on
// the stack part by part and then copied whole is read back before its parts
// are all written, which stalls each line.
[[gnu::always_inline]] inline void AddDataLine(std::vector<DataLine>& lines, double x,
                                               double xResolution, std::uint32_t lineNumber,
                                               std::uint32_t firstY, std::uint32_t yCount) {
    DataLine& data = lines.emplace_back();
    data.x = x;
    data.xResolution = xResolution;
    data.lineNumber = lineNumber;
    data.firstY = firstY;
    data.yCount = yCount;
}

// What the quick line reader carries from line to line.
struct QuickLineState {
    std::int64_t count = 0;    // ordinates read
    bool longNumbers = false;  // the table's numbers are long (from its first line)
    int resolutionPower = 0;   // the power of ten of the last abscissa's last digit
    double resolution = 0.0;   // that digit's size times |XFACTOR|
};

// Reads the lines of the table from the next one on while their tokens are
// all short plain numbers (see ReadShortNumber) and fewer than n points or
// two data lines are read. A line with an abscissa and ordinates becomes a
// data line; an empty line or an abscissa alone places no point. Stops before
// any other line (a comment, a labelled line, a longer or malformed token),
// which the general path then reads.
void ReadQuickLines(TextLines& lines, std::int64_t n, double xFactor, DataTable& table,
                    QuickLineState& state) {
    const std::string_view rest = lines.RestOfLines();
    if (rest.empty()) {
        return;
    }
    const char* p = rest.data();
    const char* const textEnd = p + rest.size();  // after the last LF
    std::size_t passed = 0;
    constexpr std::size_t kRoom = 256;
    double* w = table.y.Room(kRoom);
    double* wEnd = w + kRoom;
    while ((state.count < n || table.lines.size() < 2) && p < textEnd) {
        const char* q = p;
        while (KindOf(*q) == 1) {
            ++q;
        }
        if (*q == '\n') {
            p = q + 1;
            ++passed;
            continue;
        }
        double x = 0.0;
        int xPower = 0;
        if (!ReadShortNumber(q, textEnd, state.longNumbers, x, xPower)) {
            break;
        }
        double* lineY = w;
        bool quick = true;
        for (;;) {
            while (KindOf(*q) == 1) {
                ++q;
            }
            if (*q == '\n') {
                break;
            }
            if (w == wEnd) {
                // More room, the line's values so far moved with the rest.
                const auto lineOffset = lineY - table.y.data();
                table.y.SetEnd(w);
                w = table.y.Room(kRoom);
                wEnd = w + kRoom;
                lineY = table.y.data() + lineOffset;
            }
            double value = 0.0;
            int power = 0;
            if (!ReadShortNumber(q, textEnd, state.longNumbers, value, power)) {
                quick = false;
                break;
            }
            *w++ = value;
        }
        if (!quick) {
            w = lineY;
            break;
        }
        const auto yCount = static_cast<std::size_t>(w - lineY);
        if (table.lines.empty()) {
            state.longNumbers = static_cast<std::size_t>(q + 1 - p) / (yCount + 1) >= 8;
        }
        p = q + 1;
        ++passed;
        if (yCount == 0) {
            continue;
        }
        if (xPower != state.resolutionPower) {
            state.resolutionPower = xPower;
            state.resolution = TenToThe(xPower) * std::fabs(xFactor);
        }
        AddDataLine(table.lines, x * xFactor, state.resolution,
                    static_cast<std::uint32_t>(lines.Count() + passed),
                    static_cast<std::uint32_t>(lineY - table.y.data()),
                    static_cast<std::uint32_t>(yCount));
        state.count += static_cast<std::int64_t>(yCount);
        if (wEnd - w < 64) {
            table.y.SetEnd(w);
            w = table.y.Room(kRoom);
            wEnd = w + kRoom;
        }
    }
    table.y.SetEnd(w);
    lines.PassLines(static_cast<std::size_t>(p - rest.data()), passed);
}

// The lines of the data table from the line after ##XYDATA up to the next
// labelled line or the end of the text, as far as they are needed for n points
// and at least two of them (they tell the direction of the file). The table
// is the caller's, so that its room is kept from one read to the next.
// Returns false, with the message in otherForm, at a compressed or packed
// value, which the general reader then reads.
bool ReadDataTable(TextLines& lines, std::int64_t n, double xFactor, DataTable& table,
                   std::string& otherForm) {
    table.lines.clear();
    table.y.clear();
    table.y.Room(static_cast<std::size_t>(std::max<std::int64_t>(n, 0)) + 64);
    std::string_view line;
    // The abscissae of a table are mostly written to the same last digit.
    QuickLineState state;
    state.resolution = std::fabs(xFactor);
    std::int64_t& count = state.count;
    while (count < n || table.lines.size() < 2) {
        ReadQuickLines(lines, n, xFactor, table, state);
        if (count >= n && table.lines.size() >= 2) {
            break;
        }
        const std::size_t firstY = table.y.size();
        if (!lines.Next(line) || IsLabelled(line)) {
            break;
        }
        const std::size_t k = lines.Count() - 1;
        std::size_t tokens = 0;
        std::string_view abscissa;
        bool anySlow = false;
        TokenCursor cursor(line);
        for (std::string_view token = cursor.Next(); !token.empty(); token = cursor.Next()) {
            double value = 0.0;
            bool quick = false;
            if (!ScanPlainNumber(token, value, quick)) {
                table.y.resize(firstY);
                const std::string where = "(line " + IntegerText(static_cast<std::int64_t>(k + 1)) +
                                          ": " + Quoted(token) + ")";
                if (LooksCompressed(token) || token.find('?') != std::string_view::npos) {
                    otherForm = "The data of this file are in a compressed\r\nJCAMP-DX form " +
                                where + ",\r\nwhich this program does not read.";
                    return false;
                }
                Fail("The data table holds a value that is not\r\na number " + where + ".");
            }
            if (tokens++ == 0) {
                abscissa = token;
                continue;
            }
            if (!quick && !PlainNumberValue(token, value)) {
                anySlow = true;
            }
            table.y.push_back(value);
        }
        if (tokens < 2) {
            table.y.resize(firstY);
            continue;  // an empty line, or an abscissa without ordinates, places no point
        }
        DataLine data;
        data.lineNumber = static_cast<std::uint32_t>(k + 1);
        double x = 0.0;
        if (!PlainNumberValue(abscissa, x)) {
            x = ParseNumber(abscissa);
        }
        data.x = x * xFactor;
        data.xResolution = TokenResolution(abscissa) * std::fabs(xFactor);
        data.firstY = static_cast<std::uint32_t>(firstY);
        data.yCount = static_cast<std::uint32_t>(tokens - 1);
        if (anySlow) {
            // The tokens the quick path left: ParseNumber reads them, in order.
            TokenCursor again(line);
            again.Next();
            for (std::size_t t = 0; t < data.yCount; ++t) {
                const std::string_view token = again.Next();
                double value = 0.0;
                if (!PlainNumberValue(token, value)) {
                    table.y[firstY + t] = ParseNumber(token);
                }
            }
        }
        count += static_cast<std::int64_t>(data.yCount);
        table.lines.push_back(data);
    }
    return true;
}

std::string NumberText(double value, char separator) {
    return DoubleText(value, separator);
}

double WavelengthOf(double wavenumber) {
    if (wavenumber == 0.0) {
        Fail("The spectrum reaches 0 cm^(-1),\r\nwhere no wavelength exists.");
    }
    return Divide(10000.0, wavenumber);
}

// The point that comes from the file's point from, as StoreQuickly stores
// it: clears quick where the point needs more, and returns its stored
// ordinate.
[[gnu::always_inline]] inline std::int32_t StoreOne(const double* abscissa, const double* ordinate,
                                                    const std::int32_t* known, std::int32_t from,
                                                    std::int32_t n, bool noInvert, bool micrometres,
                                                    double yFactor, float* waveX,
                                                    std::int32_t* rawY, bool& quick) {
    const std::size_t k = static_cast<std::size_t>(noInvert ? from : n - from + 1);
    // A wavelength of 0 or one whose wavenumber is no number ends in an
    // abscissa that is no Single, as an infinite or no number.
    const auto x = static_cast<float>(micrometres ? 10000.0 / abscissa[from] : abscissa[from]);
    quick &= std::fabs(x) <= std::numeric_limits<float>::max();
    std::int32_t r = known != nullptr ? known[from] : -1;
    if (r < 0) {
        double value = ordinate[from];
        if (known != nullptr) {
            // An absorbance near a tie of two roundings: converted with
            // pow, which for these absorbances cannot fail.
            quick &= std::fabs(value) < 100.0;
            value = quick ? Divide(1.0, std::pow(10.0, value)) : 0.0;
        }
        const double stored = value * 100.0 * yFactor;
        quick &= std::fabs(stored) < 2147483647.5;
        // The nearest integer in the low bits, as NearbyInteger rounds.
        r = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(stored + kRoundingShift)));
    }
    waveX[k] = x;
    rawY[k] = r;
    return r;
}

// StoreOne for the points from..n, one at a time, folding their stored
// ordinates into low and high.
inline void StoreFrom(const double* abscissa, const double* ordinate, const std::int32_t* known,
                      std::int32_t from, std::int32_t n, bool noInvert, bool micrometres,
                      double yFactor, float* waveX, std::int32_t* rawY, bool& quick,
                      std::int32_t& low, std::int32_t& high) {
    for (; from <= n; ++from) {
        const std::int32_t r = StoreOne(abscissa, ordinate, known, from, n, noInvert, micrometres,
                                        yFactor, waveX, rawY, quick);
        low = r < low ? r : low;
        high = r > high ? r : high;
    }
}

#ifdef HALVORN_VECTOR_POINTS

// StoreQuickly four points at a time, operation for operation; four points
// of which one needs pow are stored one at a time.
[[gnu::target("avx2")]] bool StoreQuicklyVector(const double* abscissa, const double* ordinate,
                                                const std::int32_t* known, std::int32_t n,
                                                bool noInvert, bool micrometres, double yFactor,
                                                Spectrum& s, std::int32_t& lowest,
                                                std::int32_t& highest) {
    float* const waveX = s.WaveX.data();
    std::int32_t* const rawY = s.RawY.data();
    __m128i lo = _mm_set1_epi32(std::numeric_limits<std::int32_t>::max());
    __m128i hi = _mm_set1_epi32(std::numeric_limits<std::int32_t>::min());
    const __m128 floatMost = _mm_set1_ps(std::numeric_limits<float>::max());
    const __m128 floatSign = _mm_set1_ps(-0.0f);
    const __m256d doubleSign = _mm256_set1_pd(-0.0);
    const __m256d hundredTimes = _mm256_set1_pd(100.0);
    const __m256d factor = _mm256_set1_pd(yFactor);
    const __m256d storedMost = _mm256_set1_pd(2147483647.5);
    const __m256d shift = _mm256_set1_pd(kRoundingShift);
    const __m256i order = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    __m128 xOk = _mm_castsi128_ps(_mm_set1_epi32(-1));
    __m256d yOk = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
    bool quick = true;
    std::int32_t from = 1;
    for (; from + 3 <= n; from += 4) {
        __m256d xd = _mm256_loadu_pd(abscissa + from);
        if (micrometres) {
            xd = _mm256_div_pd(_mm256_set1_pd(10000.0), xd);
        }
        const __m128 x = _mm256_cvtpd_ps(xd);
        xOk = _mm_and_ps(xOk, _mm_cmple_ps(_mm_andnot_ps(floatSign, x), floatMost));
        __m128i r;
        if (known != nullptr) {
            r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(known + from));
            if (_mm_movemask_ps(_mm_castsi128_ps(r)) != 0) [[unlikely]] {
                // A point near a tie of two roundings among them.
                alignas(16) std::int32_t one[4];
                for (std::int32_t j = 0; j < 4; ++j) {
                    one[j] = StoreOne(abscissa, ordinate, known, from + j, n, noInvert, micrometres,
                                      yFactor, waveX, rawY, quick);
                }
                const __m128i r4 = _mm_load_si128(reinterpret_cast<const __m128i*>(one));
                lo = _mm_min_epi32(lo, r4);
                hi = _mm_max_epi32(hi, r4);
                continue;
            }
        } else {
            const __m256d stored = _mm256_mul_pd(
                _mm256_mul_pd(_mm256_loadu_pd(ordinate + from), hundredTimes), factor);
            yOk = _mm256_and_pd(
                yOk, _mm256_cmp_pd(_mm256_andnot_pd(doubleSign, stored), storedMost, _CMP_LT_OQ));
            r = _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(
                _mm256_castpd_si256(_mm256_add_pd(stored, shift)), order));
        }
        if (noInvert) {
            _mm_storeu_ps(waveX + from, x);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(rawY + from), r);
        } else {
            // Points n - from + 1 down to n - from - 2.
            _mm_storeu_ps(waveX + (n - from - 2), _mm_shuffle_ps(x, x, 0x1B));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(rawY + (n - from - 2)),
                             _mm_shuffle_epi32(r, 0x1B));
        }
        lo = _mm_min_epi32(lo, r);
        hi = _mm_max_epi32(hi, r);
    }
    quick &= _mm_movemask_ps(xOk) == 0xF && _mm256_movemask_pd(yOk) == 0xF;
    std::int32_t low = 0;
    std::int32_t high = 0;
    FoldLanes(lo, hi, low, high);
    StoreFrom(abscissa, ordinate, known, from, n, noInvert, micrometres, yFactor, waveX, rawY,
              quick, low, high);
    lowest = low;
    highest = high;
    return quick;
}

#endif

// Stores the points 1..n of a table of wavenumbers, or of wavelengths in
// micrometres as their wavenumbers, reversed unless noInvert, in one pass in
// the order of the file, with the smallest and largest stored ordinate: each
// abscissa as a Single, each ordinate scaled to the record's
// stored ordinate, an absorbance as its transmittance (known, from
// StoredTransmittances, for absorbance files, else computed as the passes
// below compute it). Returns false, with the record's points to be written
// again, where a point needs more: an abscissa beyond a Single, an
// absorbance of 100 or more, an ordinate out of range.
[[gnu::noinline]] bool StoreQuickly(const double* abscissa, const double* ordinate,
                                    const std::int32_t* known, std::int32_t n, bool noInvert,
                                    bool micrometres, double yFactor, Spectrum& s,
                                    std::int32_t& lowest, std::int32_t& highest) {
#ifdef HALVORN_VECTOR_POINTS
    if (WidestVectors() != VectorWidth::One) {
        return StoreQuicklyVector(abscissa, ordinate, known, n, noInvert, micrometres, yFactor, s,
                                  lowest, highest);
    }
#endif
    std::int32_t low = std::numeric_limits<std::int32_t>::max();
    std::int32_t high = std::numeric_limits<std::int32_t>::min();
    bool quick = true;
    StoreFrom(abscissa, ordinate, known, 1, n, noInvert, micrometres, yFactor, s.WaveX.data(),
              s.RawY.data(), quick, low, high);
    lowest = low;
    highest = high;
    return quick;
}

// Places the points 1..n of the table's lines: every line starts at its own
// abscissa, which must follow from the line before it and the step, and
// places its ordinates (times yFactor) right after the previous line's last
// point. Returns the largest resolution of the lines' abscissae. The table
// holds at least n ordinates.
[[gnu::noinline]] double PlaceLines(const DataTable& table, std::int32_t n, double step,
                                    double yFactor, char sep, double* abscissa, double* ordinate) {
    std::int32_t i = 0;
    double maxResolution = 0.0;
    const DataLine* previous = nullptr;
    for (const DataLine& dataLine : table.lines) {
        if (i >= n) {
            break;
        }
        if (previous != nullptr) {
            const double expected = previous->x + static_cast<double>(previous->yCount) * step;
            const double tolerance =
                1.5 * std::fabs(step) + dataLine.xResolution + previous->xResolution;
            if (!(std::fabs(dataLine.x - expected) <= tolerance)) {
                Fail("Data line " + IntegerText(static_cast<std::int64_t>(dataLine.lineNumber)) +
                     " starts at " + NumberText(dataLine.x, sep) +
                     ",\r\nbut the line before it and the step ##DELTAX=\r\nlead to " +
                     NumberText(expected, sep) + ".");
            }
        }
        maxResolution = std::max(maxResolution, dataLine.xResolution);
        ++i;
        abscissa[i] = dataLine.x;
        const double* y = table.y.data() + dataLine.firstY;
        ordinate[i] = y[0] * yFactor;
        for (std::size_t j = 1; j < dataLine.yCount && i < n; ++j) {
            ++i;
            abscissa[i] = abscissa[i - 1] + step;
            ordinate[i] = y[j] * yFactor;
        }
        previous = &dataLine;
    }
    return maxResolution;
}

// Whether a ##XYDATA line declares a table of (X,Y) pairs, "(XY..XY)" in
// any case and with any blanks.
bool DeclaresPairs(std::string_view xyDataLine) {
    const std::size_t equals = xyDataLine.find('=');
    if (equals == std::string_view::npos) {
        return false;
    }
    std::string form;
    for (const char c : xyDataLine.substr(equals + 1)) {
        if (!IsBlank(c)) {
            form += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        }
    }
    return form.find("XY..XY") != std::string::npos;
}

// The read proper; throws ReadFailure, ArithmeticFault or OtherForm, or
// returns false with the message in otherForm where the data table is in a
// form this reader does not read. pairTable tells whether the ##XYDATA line
// declares (X,Y) pairs.
bool Read(std::string_view bytes, const ReadRequest& request, Spectrum& s, std::string& otherForm,
          bool& pairTable) {
    const char sep = request.decimalSeparator;
    HeaderListFiller headerList(s.HeaderList);

    if (bytes.find('\n') == std::string_view::npos && bytes.find('\r') != std::string_view::npos) {
        Fail(kCrOnly);
    }

    // The header: up to 80 lines, the last of them the ##XYDATA line.
    TextLines lines(bytes);
    HeaderReader headerReader(s, sep);
    Header& h = headerReader.Result();
    std::string_view line;
    while (lines.Count() < kMaxHeaderLines && lines.Next(line)) {
        headerList.Add(line);
        if (headerReader.Take(line)) {
            h.dataFound = true;
            pairTable = DeclaresPairs(line);
            break;
        }
    }
    s.DiagnosticList.push_back("YirminL = " + NumberText(h.minY, sep));
    s.DiagnosticList.push_back("YirmaxL = " + NumberText(h.maxY, sep));
    if (!h.dataFound) {
        // Without a ##XYDATA table at all the data may be pairs of another
        // label; a table beyond the 80th line stays refused.
        if (bytes.find("##XYDATA") == std::string_view::npos) {
            FailOtherForm(kNoXyData);
        }
        Fail(kNoXyData);
    }

    // What the header must give for the points to be placed correctly.
    if (!h.nPoints) {
        FailOtherForm("The header gives no number of points (##NPOINTS=).");
    }
    const std::int32_t n = *h.nPoints;
    if (n < 1 || n > kMaxPoints) {
        Fail("The file has " + IntegerText(n) +
             " points (##NPOINTS=);\r\nthis program holds 1 to " + IntegerText(kMaxPoints) + ".");
    }
    if (!h.deltaXGiven && n > 1 && h.firstXGiven && h.lastXGiven && h.lastX != h.firstX) {
        // Without ##DELTAX= the step follows from the first and last abscissa.
        h.deltaX = (h.lastX - h.firstX) / (n - 1);
    }
    if (h.xFactor == 0.0) {
        Fail("The abscissa factor (##XFACTOR=) is 0.");
    }

    // The multiplier scales every ordinate and the header's extremes.
    h.yFactor *= s.MultGlobal;
    h.minY *= s.MultGlobal;
    h.maxY *= s.MultGlobal;
    s.DeltaX = -h.deltaX;

    // The tables keep their room from one read to the next.
    thread_local DataTable dataTable;
    if (!ReadDataTable(lines, n, h.xFactor, dataTable, otherForm)) {
        return false;
    }
    const std::vector<DataLine>& table = dataTable.lines;
    const auto available = static_cast<std::int64_t>(dataTable.y.size());
    if (available < n) {
        Fail("The data table holds " + IntegerText(available) + " of the " + IntegerText(n) +
             " points\r\nthat ##NPOINTS= gives.");
    }

    // The first two data lines tell how many ordinates a line holds and
    // whether the file runs along DELTAX or against it.
    const double xp1 = table[0].x;
    const double xp2 =
        table.size() > 1 ? table[1].x : xp1 + static_cast<double>(table[0].yCount) * h.deltaX;
    s.DiagnosticList.push_back("XP(1)=" + NumberText(xp1, sep));
    s.DiagnosticList.push_back("XP(2)=" + NumberText(xp2, sep));
    // A zero step, and then an abscissa unit that gives no orientation, end the
    // read where the step and the unit are first used.
    if (h.deltaX == 0.0) {
        Fail("The abscissa step (##DELTAX=) is 0.");
    }
    const double lineSpan = (xp2 - xp1) / h.deltaX;
    if (!(std::fabs(lineSpan) < 32767.5)) {
        Fail("The first two data lines (at " + NumberText(xp1, sep) + " and " +
             NumberText(xp2, sep) + ")\r\ndo not fit the abscissa step " +
             NumberText(h.deltaX, sep) + ".");
    }
    const std::int16_t maxG = ToInteger(lineSpan);
    s.DiagnosticList.push_back("MaxG=" + IntegerText(maxG));
    if (!h.xUnits) {
        FailOtherForm("The header gives no abscissa unit (##XUNITS=).");
    }
    const AbscissaUnit unit = AbscissaUnitOf(*h.xUnits);
    if (unit == AbscissaUnit::Other) {
        Fail("The abscissa unit " + Quoted(TrimBlanks(*h.xUnits)) +
             " is not supported;\r\nonly 1/CM and MICROMETERS are read.");
    }
    if (unit == AbscissaUnit::Micrometre && n < 2) {
        Fail("A spectrum in MICROMETERS needs at least two points.");
    }

    bool noInvert;
    if (unit == AbscissaUnit::Wavenumber) {
        noInvert = maxG < 0;
    } else {
        noInvert = maxG > 0;
    }
    // The step from one point to the next along the file.
    const bool alongDeltaX = (unit == AbscissaUnit::Wavenumber) != noInvert;
    const double step = alongDeltaX ? h.deltaX : -h.deltaX;

    // Every line starts at its own abscissa and places its ordinates right
    // after the previous line's last point.
    thread_local std::vector<double> abscissa;
    thread_local std::vector<double> ordinate;
    // Points 1..n are all placed below (the table holds at least n ordinates).
    abscissa.resize(static_cast<std::size_t>(n) + 1);
    ordinate.resize(static_cast<std::size_t>(n) + 1);
    const double maxResolution =
        PlaceLines(dataTable, n, step, h.yFactor, sep, abscissa.data(), ordinate.data());

    // The header's first and last abscissa must describe the same points.
    const double endTolerance = 1.5 * std::fabs(h.deltaX) + 2.0 * maxResolution;
    const auto checkEnd = [&](bool given, double value, const char* label, double data) {
        if (given && !(std::fabs(value - data) <= endTolerance)) {
            Fail(std::string(label) + NumberText(value, sep) +
                 " does not agree with\r\nthe data table, which gives " + NumberText(data, sep) +
                 ".");
        }
    };
    checkEnd(h.firstXGiven, h.firstX, "##FIRSTX=", abscissa[1]);
    checkEnd(h.lastXGiven, h.lastX, "##LASTX=", abscissa[static_cast<std::size_t>(n)]);
    const bool needFirst = unit == AbscissaUnit::Micrometre || noInvert;
    const bool needLast = unit == AbscissaUnit::Micrometre || !noInvert;
    if ((needFirst && !h.firstXGiven) || (needLast && !h.lastXGiven)) {
        FailOtherForm(std::string("The header gives no ") +
                      (needFirst && !h.firstXGiven ? "first" : "last") + " abscissa (" +
                      (needFirst && !h.firstXGiven ? "##FIRSTX=" : "##LASTX=") + ").");
    }

    if (unit == AbscissaUnit::Wavenumber) {
        s.FirstX = noInvert ? h.firstX : h.lastX;
    } else {
        const double end = noInvert ? h.firstX : h.lastX;
        if (end == 0.0) {
            Fail("An abscissa of 0 micrometres has no wavenumber.");
        }
        s.FirstX = Divide(10000.0, end);
    }
    s.DiagnosticList.push_back(std::string("NoInvert=") + (noInvert ? "True" : "False"));
    s.DiagnosticList.push_back("InicHcm=" + NumberText(s.FirstX, sep));

    // Transfer into the spectrum, reversed unless the file order is kept.
    SizePoints(s, n);
    const bool absorbance = IsAbsorbanceUnit(h.yUnits);
    // A table whose points all take the quick way is stored in one pass;
    // any other takes the passes below, which convert and check every point
    // in turn, and fail where the quick way would not have been taken.
    // Stored ordinates already known exactly (absorbance files only; -1 where
    // not known, as a known one is never negative).
    thread_local std::vector<std::int32_t> knownStored;
    if (absorbance) {
        knownStored.resize(static_cast<std::size_t>(n) + 1);
        StoredTransmittances(ordinate.data(), knownStored.data(), n, 100.0 * s.YFactor);
    }
    std::int32_t lowest = 0;
    std::int32_t highest = 0;
    const bool micrometres = unit == AbscissaUnit::Micrometre;
    const bool storedQuickly =
        (unit == AbscissaUnit::Wavenumber || micrometres) &&
        StoreQuickly(abscissa.data(), ordinate.data(), absorbance ? knownStored.data() : nullptr, n,
                     noInvert, micrometres, s.YFactor, s, lowest, highest);
    if (absorbance) {
        if (!storedQuickly) {
            for (std::int32_t k = 1; k <= n; ++k) {
                if (knownStored[static_cast<std::size_t>(k)] < 0) {
                    double& a = ordinate[static_cast<std::size_t>(k)];
                    a = Divide(1.0, std::pow(10.0, a));
                }
            }
        }
        const double minY = Divide(1.0, std::pow(10.0, h.maxY));
        const double maxY = Divide(1.0, std::pow(10.0, h.minY));
        h.minY = minY;
        h.maxY = maxY;
    }
    if (micrometres && !storedQuickly) {
        for (std::int32_t k = 1; k <= n; ++k) {
            double& x = abscissa[static_cast<std::size_t>(k)];
            if (x == 0.0) {
                Fail("An abscissa of 0 micrometres has no wavenumber.");
            }
            x = Divide(10000.0, x);
        }
    }
    s.DiagnosticList.push_back("YirminL = " + NumberText(h.minY, sep));
    s.DiagnosticList.push_back("YirmaxL = " + NumberText(h.maxY, sep));

    if (!storedQuickly) {
        for (std::int32_t k = 1; k <= n; ++k) {
            const std::size_t from = static_cast<std::size_t>(noInvert ? k : n - k + 1);
            s.WaveX[static_cast<std::size_t>(k)] = SingleOf(abscissa[from]);
            if (absorbance && knownStored[from] >= 0) {
                s.RawY[static_cast<std::size_t>(k)] = knownStored[from];
                continue;
            }
            const double stored = ordinate[from] * 100.0 * s.YFactor;
            if (!(std::fabs(stored) < 2147483647.5)) {
                FailOtherForm("The ordinate " + NumberText(ordinate[from], sep) + " (point " +
                              IntegerText(static_cast<std::int64_t>(from)) +
                              " of the file)\r\nis too large for this program.");
            }
            // Within the range checked, ToLong is the nearest integer.
            s.RawY[static_cast<std::size_t>(k)] = static_cast<std::int32_t>(NearbyInteger(stored));
        }
        const auto [low, high] = std::minmax_element(s.RawY.begin() + 1, s.RawY.end());
        lowest = *low;
        highest = *high;
    }
    const double storedMin = h.minY * 100.0 * s.YFactor;
    const double storedMax = h.maxY * 100.0 * s.YFactor;
    if (!(std::fabs(storedMin) < 2147483647.5 && std::fabs(storedMax) < 2147483647.5)) {
        FailOtherForm(
            "The smallest or largest ordinate of the header\r\n(##MINY=, ##MAXY=) is too large "
            "for this program.");
    }
    s.RawYMin = ToLong(storedMin);
    s.RawYMax = ToLong(storedMax);
    // A header without ##MINY= or ##MAXY= would propose an axis around 0 %T that
    // hides the trace; the extreme it lacks is taken from the points instead.
    // (An absorbance file's MINY gives the largest %T.) Header extremes that
    // do not hold the points (MINY above MAXY, or extremes scaled by a damaged
    // ##YFACTOR= line) would turn the axis upside down or cut the trace off:
    // then the points give both. Extremes rounded to fewer digits than the
    // points are kept while they miss them by less than 1 %T.
    if (!(absorbance ? h.maxYGiven : h.minYGiven)) {
        s.RawYMin = lowest;
    }
    if (!(absorbance ? h.minYGiven : h.maxYGiven)) {
        s.RawYMax = highest;
    }
    const double slack = s.YFactor;
    if (s.RawYMin > s.RawYMax || lowest < s.RawYMin - slack || highest > s.RawYMax + slack) {
        s.RawYMin = lowest;
        s.RawYMax = highest;
    }
    s.DiagnosticList.push_back("Yirmin = " + NumberText(s.RawYMin / s.YFactor, sep));
    s.DiagnosticList.push_back("Yirmax = " + NumberText(s.RawYMax / s.YFactor, sep));

    if (unit == AbscissaUnit::Micrometre) {
        s.DeltaX = static_cast<double>(s.WaveX[2] - s.WaveX[1]);
    }
    s.PointCountLabel = "Number of points: " + IntegerText(n);
    s.IntervalLabel = "points: " + DoubleText(s.DeltaX, sep) + " cm^(-1)";

    if (unit == AbscissaUnit::Wavenumber) {
        s.LastX = static_cast<double>(s.StepCount) * s.DeltaX + s.FirstX;
    } else {
        s.LastX = Divide(10000.0, noInvert ? h.lastX : h.firstX);
    }
    s.FirstWL = WavelengthOf(s.FirstX);
    s.LastWL = WavelengthOf(s.LastX);
    ShowWholeSpectrum(s);

    SetYAxisFromExtremes(s, ToSingle(s.RawYMax / s.YFactor), ToSingle(s.RawYMin / s.YFactor));

    EndRead(s, sep, IntervalForm::AsIs);
    PrepareExportTexts(s, sep);
    return true;
}

}  // namespace

std::vector<std::string_view> JcampTextLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t lf = bytes.find('\n'); lf != std::string_view::npos;
         lf = bytes.find('\n', start)) {
        std::size_t end = lf;
        if (end > start && bytes[end - 1] == '\r') {
            --end;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = lf + 1;
    }
    return lines;
}

namespace {

// The start of a read, before the file is opened.
void BeginJcampRead(const ReadRequest& request, Spectrum& s) {
    BeginRead(request, s);
    s.YFactor = kTransmittanceYFactor;
    for (std::string& label : s.Label14) {
        label.clear();
    }
}

}  // namespace

namespace {

// The plain reader alone; otherForm tells whether it refused the file for its
// form. Such a refusal leaves the points as they are when the general reader
// follows (keep), which replaces them all or clears them.
ReadOutcome ReadPlainJcamp(std::string_view bytes, const ReadRequest& request, Spectrum& s,
                           bool& otherForm, bool keep = false) {
    BeginJcampRead(request, s);
    s.DiagnosticList.clear();
    otherForm = false;
    std::string otherFormMessage;
    try {
        bool pairTable = false;
        ReadOutcome outcome = GuardedRead(s, kOutOfRange, [&] {
            if (!Read(bytes, request, s, otherFormMessage, pairTable)) {
                otherForm = true;
            }
        });
        if (!otherForm) {
            // A ##XYDATA table of (X,Y) pairs that this reader cannot read
            // as a table of lines is refused for its form: the general
            // reader reads the pairs, and this refusal stands where it finds
            // no data.
            otherForm = !outcome.ok && pairTable;
            return outcome;
        }
    } catch (const OtherForm& refusal) {
        otherForm = true;
        otherFormMessage = refusal.firstPart;
    }
    if (keep) {
        return ReadOutcome::Failure(std::move(otherFormMessage));
    }
    return FailedRead(s, otherFormMessage);
}

}  // namespace

ReadOutcome ReadJcampBytes(std::string_view bytes, const ReadRequest& request, Spectrum& s) {
    // A block after the first is the general reader's to find.
    if (request.block > 1) {
        return ReadStandardJcampBytes(bytes, request, s);
    }
    bool otherForm = false;
    ReadOutcome plain = ReadPlainJcamp(bytes, request, s, otherForm, true);
    if (plain.ok || !(otherForm || JcampHasSeveralBlocks(bytes))) {
        return plain;
    }
    // The plain reader refused the file for its form, or the file has
    // several blocks: the general reader reads it. A text with no data table
    // of any form keeps the plain reader's refusal.
    StandardJcampRead standard = ReadStandardJcamp(bytes, request, s);
    if (!standard.outcome.ok && !standard.dataFound) {
        return ReadPlainJcamp(bytes, request, s, otherForm);
    }
    return std::move(standard.outcome);
}

ReadOutcome ReadJcampFile(const std::string& path, const ReadRequest& request, Spectrum& s) {
    return ReadWholeFile(path, request, s, kMaxFileBytes, "The file cannot be opened or read.",
                         BeginJcampRead, ReadJcampBytes);
}

}  // namespace halvorn
