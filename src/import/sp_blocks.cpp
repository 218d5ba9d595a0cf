#include "import/sp_blocks.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "core/numbers.h"
#include "import/point_placement.h"
#include "import/read_frame.h"

namespace halvorn {

namespace {

constexpr std::string_view kSignature = "\x50\x45\x50\x45";
constexpr std::size_t kPreambleBytes = 44;  // signature and description

constexpr std::int16_t kDataSetBlock = 120;
constexpr std::int16_t kInstrumentHeaderBlock = 123;

constexpr std::int16_t kAbscissaRange = -29838;
constexpr std::int16_t kAbscissaStep = -29836;
constexpr std::int16_t kPointCount = -29835;
constexpr std::int16_t kAbscissaLabel = -29833;
constexpr std::int16_t kOrdinateLabel = -29832;
constexpr std::int16_t kAbscissaUnit = -29831;
constexpr std::int16_t kOrdinateUnit = -29830;
constexpr std::int16_t kDataKind = -29829;
constexpr std::int16_t kOrdinates = -29828;
constexpr std::int16_t kDataSetName = -29827;
constexpr std::int16_t kHistory = -29825;
constexpr std::int16_t kAlias = -29823;

// Members of a history record and of the instrument header.
constexpr std::int16_t kRecordTitle = -29837;
constexpr std::int16_t kRecordDate = -29836;
constexpr std::int16_t kRecordDescription = -29834;
constexpr std::int16_t kInstrumentModel = -29699;

constexpr std::uint16_t kTextType = 29987;
constexpr std::uint16_t kShortType = 29973;
constexpr std::uint16_t kLongType = 29995;
constexpr std::uint16_t kDoubleType = 29979;
constexpr std::uint16_t kRangeType = 29981;

constexpr std::int16_t kWavenumberCode = 10;
constexpr std::int16_t kAbsorbanceCode = 1;
constexpr std::int16_t kTransmittanceCode = 2;

// Nested blocks are followed this deep, and this many of them at most.
constexpr int kMaxDepth = 12;
constexpr int kMaxNestedItems = 100000;
// History texts kept for the header list.
constexpr std::size_t kMaxHistoryLines = 200;

std::uint16_t U16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

std::uint32_t U32(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t k = 4; k-- > 0;) {
        v = (v << 8) | static_cast<unsigned char>(bytes[at + k]);
    }
    return v;
}

std::uint64_t U64(std::string_view bytes, std::size_t at) {
    std::uint64_t v = 0;
    for (std::size_t k = 8; k-- > 0;) {
        v = (v << 8) | static_cast<unsigned char>(bytes[at + k]);
    }
    return v;
}

double F64(std::string_view bytes, std::size_t at) {
    return std::bit_cast<double>(U64(bytes, at));
}

double F32(std::string_view bytes, std::size_t at) {
    return static_cast<double>(std::bit_cast<float>(U32(bytes, at)));
}

// One block or member: its id and its content.
struct Item {
    std::int16_t id = 0;
    std::string_view content;
    std::size_t offset = 0;  // of the item in the file
};

// The items one after another in bytes[begin, end); false when one runs past
// the end (a truncated file), with the offset where it starts.
bool SplitItems(std::string_view bytes, std::size_t begin, std::size_t end,
                std::vector<Item>& items, std::size_t& brokenAt) {
    std::size_t at = begin;
    while (at < end) {
        if (end - at < 6) {
            brokenAt = at;
            return false;
        }
        const std::uint32_t length = U32(bytes, at + 2);
        if (length > end - at - 6) {
            brokenAt = at;
            return false;
        }
        items.push_back(
            {static_cast<std::int16_t>(U16(bytes, at)), bytes.substr(at + 6, length), at});
        at += 6 + static_cast<std::size_t>(length);
    }
    return true;
}

std::optional<std::uint16_t> TypeOf(std::string_view content) {
    if (content.size() < 2) {
        return std::nullopt;
    }
    return U16(content, 0);
}

std::optional<std::string> TextOf(std::string_view content) {
    if (TypeOf(content) != kTextType || content.size() < 4) {
        return std::nullopt;
    }
    const std::size_t length = std::min<std::size_t>(U16(content, 2), content.size() - 4);
    std::string text(content.substr(4, length));
    // Texts may be padded with NULs.
    text.erase(std::find(text.begin(), text.end(), '\0'), text.end());
    return text;
}

// A 16-bit value: the short types, or any type code followed by two bytes.
std::optional<std::int16_t> ShortOf(std::string_view content) {
    if (content.size() < 4 || (TypeOf(content) != kShortType && content.size() != 4)) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(U16(content, 2));
}

// A count: a 32-bit integer, or a 16-bit one where the member holds two bytes.
std::optional<std::int64_t> CountOf(std::string_view content) {
    const std::optional<std::uint16_t> type = TypeOf(content);
    if (content.size() >= 6 && (type == kLongType || content.size() == 6)) {
        return static_cast<std::int32_t>(U32(content, 2));
    }
    if (content.size() == 4) {
        return static_cast<std::int16_t>(U16(content, 2));
    }
    return std::nullopt;
}

std::optional<double> DoubleOf(std::string_view content) {
    if (TypeOf(content) != kDoubleType || content.size() < 10) {
        return std::nullopt;
    }
    return F64(content, 2);
}

std::optional<std::array<double, 2>> RangeOf(std::string_view content) {
    if (TypeOf(content) != kRangeType || content.size() < 18) {
        return std::nullopt;
    }
    return std::array<double, 2>{F64(content, 2), F64(content, 10)};
}

// What the history and the instrument header tell.
struct History {
    std::vector<std::string> lines;  // every text, in the file's order
    std::string date;                // the first record's date
    std::string description;         // the first description that is not empty
    std::string instrument;          // the first instrument model
    int items = 0;
};

// Walks nested blocks and members, collecting texts. A member whose content
// starts with a positive id rather than a type code holds blocks itself.
void WalkHistory(std::string_view bytes, std::size_t begin, std::size_t end, int depth,
                 History& history) {
    if (depth > kMaxDepth) {
        return;
    }
    std::vector<Item> items;
    std::size_t brokenAt = 0;
    (void)SplitItems(bytes, begin, end, items, brokenAt);
    for (const Item& item : items) {
        if (++history.items > kMaxNestedItems) {
            return;
        }
        const std::size_t contentBegin = item.offset + 6;
        const std::size_t contentEnd = contentBegin + item.content.size();
        if (item.id > 0) {
            WalkHistory(bytes, contentBegin, contentEnd, depth + 1, history);
            continue;
        }
        if (const std::optional<std::string> text = TextOf(item.content)) {
            if (text->empty()) {
                continue;
            }
            if (history.lines.size() < kMaxHistoryLines) {
                history.lines.push_back(KeptHeaderLine(*text));
            }
            if (item.id == kRecordDate && history.date.empty()) {
                history.date = *text;
            } else if (item.id == kRecordDescription && history.description.empty()) {
                history.description = *text;
            }
            continue;
        }
        const std::optional<std::uint16_t> type = TypeOf(item.content);
        if (type && *type > 0 && *type < 1000 && item.content.size() >= 6) {
            WalkHistory(bytes, contentBegin, contentEnd, depth + 1, history);
        }
    }
}

// The instrument model: member -29699 of the first instrument header block.
void FindInstrument(std::string_view bytes, std::size_t begin, std::size_t end, int depth,
                    int& budget, std::string& instrument) {
    if (depth > kMaxDepth || !instrument.empty()) {
        return;
    }
    std::vector<Item> items;
    std::size_t brokenAt = 0;
    (void)SplitItems(bytes, begin, end, items, brokenAt);
    for (const Item& item : items) {
        if (--budget < 0 || !instrument.empty()) {
            return;
        }
        const std::size_t contentBegin = item.offset + 6;
        const std::size_t contentEnd = contentBegin + item.content.size();
        if (item.id == kInstrumentHeaderBlock) {
            std::vector<Item> members;
            (void)SplitItems(bytes, contentBegin, contentEnd, members, brokenAt);
            for (const Item& member : members) {
                // The model sits in a nested list of its own.
                std::vector<Item> inner;
                if (member.id > 0) {
                    (void)SplitItems(bytes, member.offset + 6,
                                     member.offset + 6 + member.content.size(), inner, brokenAt);
                }
                inner.push_back(member);
                for (const Item& candidate : inner) {
                    if (candidate.id == kInstrumentModel) {
                        if (const std::optional<std::string> text = TextOf(candidate.content)) {
                            instrument = *text;
                            return;
                        }
                    }
                }
            }
        }
        const std::optional<std::uint16_t> type = TypeOf(item.content);
        if (item.id > 0 || (type && *type > 0 && *type < 1000 && item.content.size() >= 6)) {
            FindInstrument(bytes, contentBegin, contentEnd, depth + 1, budget, instrument);
        }
    }
}

// "Thu Mar 09 09:19:21 2006" as "09/03/06" (day/month/year); empty when the
// text is not such a date.
std::string ShortDate(std::string_view date) {
    static constexpr std::array<std::string_view, 12> kMonths = {
        "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    std::vector<std::string> words;
    std::string word;
    for (const char c : date) {
        if (c == ' ') {
            if (!word.empty()) {
                words.push_back(word);
            }
            word.clear();
        } else {
            word += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    if (!word.empty()) {
        words.push_back(word);
    }
    if (words.size() != 5) {
        return "";
    }
    const auto month = std::find(kMonths.begin(), kMonths.end(), words[1]);
    const std::string& day = words[2];
    const std::string& year = words[4];
    const auto digits = [](const std::string& text) {
        return !text.empty() &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (month == kMonths.end() || !digits(day) || day.size() > 2 || !digits(year) ||
        year.size() < 2) {
        return "";
    }
    const int m = static_cast<int>(month - kMonths.begin()) + 1;
    return (day.size() == 1 ? "0" + day : day) + "/" + (m < 10 ? "0" : "") + std::to_string(m) +
           "/" + year.substr(year.size() - 2);
}

// The file's name without folders and extension.
std::string Stem(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return text;
}

// The data set block's members as the reader uses them.
struct DataSet {
    std::optional<std::array<double, 2>> range;
    std::optional<double> step;
    std::optional<std::int64_t> count;
    std::string xLabel;
    std::string yLabel;
    std::optional<std::int16_t> xUnit;
    std::optional<std::int16_t> yUnit;
    std::string kind;
    std::string name;
    std::string alias;
    std::optional<Item> ordinates;
    std::optional<Item> history;
};

DataSet Members(const std::vector<Item>& members) {
    DataSet set;
    for (const Item& m : members) {
        switch (m.id) {
            case kAbscissaRange:
                set.range = RangeOf(m.content);
                break;
            case kAbscissaStep:
                set.step = DoubleOf(m.content);
                break;
            case kPointCount:
                set.count = CountOf(m.content);
                break;
            case kAbscissaLabel:
                set.xLabel = TextOf(m.content).value_or("");
                break;
            case kOrdinateLabel:
                set.yLabel = TextOf(m.content).value_or("");
                break;
            case kAbscissaUnit:
                set.xUnit = ShortOf(m.content);
                break;
            case kOrdinateUnit:
                set.yUnit = ShortOf(m.content);
                break;
            case kDataKind:
                set.kind = TextOf(m.content).value_or("");
                break;
            case kDataSetName:
                set.name = TextOf(m.content).value_or("");
                break;
            case kAlias:
                set.alias = TextOf(m.content).value_or("");
                break;
            case kOrdinates:
                set.ordinates = m;
                break;
            case kHistory:
                set.history = m;
                break;
            default:
                break;
        }
    }
    return set;
}

bool IsWavenumberLabel(const std::string& label) {
    const std::string l = Lower(label);
    return l == "cm-1" || l == "1/cm" || l == "cm^-1" || l == "cm^(-1)" || l == "wavenumber";
}

void Read(std::string_view bytes, const ReadRequest& request, Spectrum& s) {
    const char separator = request.decimalSeparator;
    s.DiagnosticList.clear();
    if (bytes.size() < kPreambleBytes) {
        Fail("This file ends after " + IntegerText(static_cast<std::int64_t>(bytes.size())) +
             " bytes,\r\nwithin the signature of its blocks; it is truncated.");
    }
    std::vector<Item> blocks;
    std::size_t brokenAt = 0;
    const bool whole = SplitItems(bytes, kPreambleBytes, bytes.size(), blocks, brokenAt);
    const auto dataSet = std::find_if(blocks.begin(), blocks.end(),
                                      [](const Item& b) { return b.id == kDataSetBlock; });
    if (dataSet == blocks.end()) {
        if (!whole) {
            Fail("This file is truncated: the block at byte " +
                 IntegerText(static_cast<std::int64_t>(brokenAt)) + "\r\nruns past its end.");
        }
        Fail("This file holds no spectrum block\r\n(no constant-interval data set).");
    }
    std::vector<Item> members;
    if (!SplitItems(bytes, dataSet->offset + 6, dataSet->offset + 6 + dataSet->content.size(),
                    members, brokenAt)) {
        Fail("The spectrum block is damaged: its member at byte " +
             IntegerText(static_cast<std::int64_t>(brokenAt)) + "\r\nruns past the block's end.");
    }
    const DataSet set = Members(members);

    // The abscissa: wavenumbers only.
    const bool wavenumbers =
        set.xLabel.empty() ? set.xUnit == kWavenumberCode : IsWavenumberLabel(set.xLabel);
    if (!wavenumbers) {
        const std::string label = Lower(set.xLabel);
        if (label == "nm") {
            Fail("This file holds a UV/VIS spectrum (nm), not an infrared spectrum.");
        }
        Fail("This file's abscissa unit is \"" + set.xLabel +
             "\";\r\nthis program can open only files\r\nwith abscissa units in CM-1.");
    }
    if (!set.range) {
        Fail("The spectrum block gives no abscissa range.");
    }
    if (!set.ordinates) {
        Fail("The spectrum block holds no ordinates.");
    }

    // The ordinates: a byte count, then 64-bit or 32-bit floats.
    const std::string_view data = set.ordinates->content;
    if (data.size() < 6) {
        Fail("The ordinates of the spectrum block are cut off.");
    }
    const std::uint32_t dataBytes = U32(data, 2);
    const std::size_t available = data.size() - 6;
    if (dataBytes > available) {
        Fail("The ordinates of the spectrum block are cut off:\r\n" +
             IntegerText(static_cast<std::int64_t>(dataBytes)) + " bytes announced, " +
             IntegerText(static_cast<std::int64_t>(available)) + " present.");
    }
    std::int64_t n = set.count.value_or(0);
    if (!set.count) {
        n = dataBytes / 8;  // doubles unless the count says otherwise
    }
    if (n < 1 || n > kMaxPoints) {
        Fail("The spectrum block gives " + IntegerText(n) +
             " points;\r\nthis program holds from 1 to " + IntegerText(kMaxPoints) + ".");
    }
    std::size_t width = 0;
    if (dataBytes == static_cast<std::uint64_t>(n) * 8) {
        width = 8;
    } else if (dataBytes == static_cast<std::uint64_t>(n) * 4) {
        width = 4;
    } else {
        Fail("The spectrum block gives " + IntegerText(n) + " points but " +
             IntegerText(static_cast<std::int64_t>(dataBytes)) +
             " bytes of ordinates\r\n(neither 4 nor 8 bytes a point).");
    }
    std::vector<double> y(static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < y.size(); ++i) {
        y[i] = width == 8 ? F64(data, 6 + 8 * i) : F32(data, 6 + 4 * i);
    }

    // The abscissae: the range's ends; the step where it agrees with them. A
    // step of the same size running the other way means the range is given
    // from its other end.
    double firstX = (*set.range)[0];
    const double lastX = (*set.range)[1];
    double deltaX = n > 1 ? (lastX - firstX) / static_cast<double>(n - 1) : set.step.value_or(0.0);
    if (set.step && std::isfinite(*set.step)) {
        const double tolerance = 1e-6 * std::max(std::fabs(deltaX), 1e-9);
        if (std::fabs(*set.step - deltaX) <= tolerance || n == 1) {
            deltaX = *set.step;
        } else if (std::fabs(*set.step + deltaX) <= tolerance && deltaX != 0.0) {
            s.DiagnosticList.push_back(
                "abscissa range given from " + DoubleText(firstX, separator) + " to " +
                DoubleText(lastX, separator) + ", the step " + DoubleText(*set.step, separator) +
                " runs the other way: read from " + DoubleText(lastX, separator));
            firstX = lastX;
            deltaX = *set.step;
        } else {
            s.DiagnosticList.push_back("abscissa step " + DoubleText(*set.step, separator) +
                                       " does not fit the range; " + DoubleText(deltaX, separator) +
                                       " used");
        }
    }

    // The ordinates' unit, from the label (the unit code where there is none).
    const std::string yLabel = Lower(set.yLabel);
    const bool absorbance = yLabel == "a" || yLabel == "au" || yLabel.starts_with("abs") ||
                            (yLabel.empty() && set.yUnit == kAbsorbanceCode);
    const bool transmittance = yLabel == "%t" || yLabel == "t%" || yLabel == "t" ||
                               yLabel.find("transm") != std::string::npos ||
                               (yLabel.empty() && set.yUnit == kTransmittanceCode);
    const bool reflectance = yLabel == "%r" || yLabel == "r%" || yLabel == "r" ||
                             yLabel.find("reflect") != std::string::npos;
    OrdinateUnit unit = OrdinateUnit::PercentTransmittance;
    std::string unitText;
    if (absorbance) {
        unit = OrdinateUnit::Absorbance;
        unitText = "absorbance";
    } else if (transmittance || reflectance) {
        // Percent, unless a label that does not say percent comes with
        // values of at most 1.5: fractions.
        const bool fraction =
            !yLabel.empty() && yLabel.find('%') == std::string::npos &&
            std::all_of(y.begin(), y.end(), [](double v) { return !(std::fabs(v) > 1.5); });
        if (fraction) {
            for (double& v : y) {
                v *= 100.0;
            }
        }
        unitText = (transmittance ? std::string("%T") : std::string("%R, shown as %T")) +
                   (fraction ? " (fractions x 100)" : "");
    } else {
        const std::string scaled = ScaleIntoPercent(y, separator);
        unitText = "\"" + set.yLabel + "\", " + scaled;
        s.Caption += " (scaled)";
    }

    // The texts: the history's lines and the sample labels.
    History history;
    if (set.history) {
        WalkHistory(bytes, set.history->offset + 6,
                    set.history->offset + 6 + set.history->content.size(), 0, history);
        int budget = kMaxNestedItems;
        FindInstrument(bytes, set.history->offset + 6,
                       set.history->offset + 6 + set.history->content.size(), 0, budget,
                       history.instrument);
    }
    std::string description(bytes.substr(4, kPreambleBytes - 4));
    description.erase(std::find(description.begin(), description.end(), '\0'), description.end());
    s.HeaderList.clear();
    s.HeaderList.push_back(KeptHeaderLine(description));
    s.HeaderList.push_back(KeptHeaderLine("Name: " + set.name));
    s.HeaderList.push_back(KeptHeaderLine("Alias: " + set.alias));
    s.HeaderList.push_back(KeptHeaderLine("Kind: " + set.kind));
    s.HeaderList.push_back("Abscissa: " + set.xLabel + " from " + DoubleText(firstX, separator) +
                           " to " + DoubleText(lastX, separator));
    s.HeaderList.push_back(KeptHeaderLine("Ordinate: " + set.yLabel));
    s.HeaderList.push_back("Points: " + IntegerText(n));
    s.HeaderList.push_back("History:");
    for (const std::string& line : history.lines) {
        s.HeaderList.push_back("  " + line);
    }

    const std::string sample = set.alias.empty() ? Stem(set.name) : set.alias;
    s.Label14[0] = "Sample: " + sample;
    s.Label14[1] = "Date: " + ShortDate(history.date);
    s.Label14[2] = "Operator: ";
    s.Label14[3] = "Sample prep. as: ";
    s.Label14[4] = history.instrument;
    s.Label14[5] = "Remarks1: " + history.description;
    s.Label14[6] = "Remarks2: ";

    s.DiagnosticList.insert(s.DiagnosticList.begin(),
                            "read as a binary block *.sp file: " + IntegerText(n) + " points, " +
                                (width == 8 ? "64" : "32") + "-bit ordinates, " + unitText);
    PlaceEvenPoints(s, y, firstX, deltaX, unit, separator);
}

}  // namespace

bool HasBlockSignature(std::string_view bytes) {
    return bytes.starts_with(kSignature);
}

ReadOutcome ReadSpBlocksBytes(std::string_view bytes, const ReadRequest& request, Spectrum& s) {
    BeginRead(request, s);
    return GuardedRead(s, "", [&] { Read(bytes, request, s); });
}

}  // namespace halvorn
