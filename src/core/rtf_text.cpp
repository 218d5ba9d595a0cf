#include "core/rtf_text.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace halvorn {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Nesting beyond this depth is counted but keeps the style of the deepest
// tracked group, so a file of nothing but braces cannot exhaust memory.
constexpr std::size_t kMaxTrackedDepth = 1024;

// Control word parameters are clamped to this magnitude while they are read.
constexpr long kMaxParameter = 1000000000L;

constexpr int kDefaultFontSize = 24;  // half points: 12 pt
constexpr int kMinFontSize = 2;
constexpr int kMaxFontSize = 3276;

void AppendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        c = kReplacement;
    }
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Windows-1252 characters 0x80..0x9F; 0 where the code page defines none.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char32_t Windows1252(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        const char16_t c = kHighControls[byte - 0x80];
        return c == 0 ? kReplacement : c;
    }
    return byte;  // ASCII and Latin-1 agree with the code page elsewhere
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Groups whose text is not part of the document.
bool IsSkippedDestination(std::string_view word) {
    static constexpr std::string_view kSkipped[] = {
        "fonttbl",
        "stylesheet",
        "info",
        "pict",
        "object",
        "header",
        "headerl",
        "headerr",
        "headerf",
        "footer",
        "footerl",
        "footerr",
        "footerf",
        "footnote",
        "annotation",
        "listtable",
        "listoverridetable",
        "revtbl",
        "rsidtbl",
        "filetbl",
        "generator",
        "themedata",
        "colorschememapping",
        "latentstyles",
        "datastore",
        "xmlnstbl",
        "mmathPr",
        "pgdsctbl",
        "nonshppict",
        "fldinst",
        "bkmkstart",
        "bkmkend",
        "shppict",
        "objdata",
        "template",
    };
    return std::find(std::begin(kSkipped), std::end(kSkipped), word) != std::end(kSkipped);
}

enum class Destination { Text, Skipped, ColourTable };

struct GroupState {
    bool bold = false;
    bool italic = false;
    int fontSize = kDefaultFontSize;
    long colourIndex = 0;
    RtfAlignment alignment = RtfAlignment::Left;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;

    void ResetCharacter() {
        bold = false;
        italic = false;
        fontSize = kDefaultFontSize;
        colourIndex = 0;
    }
};

class Parser {
  public:
    explicit Parser(std::string_view in) : in_(in) {}

    RtfDocument Run(std::size_t start) {
        pos_ = start;
        while (pos_ < in_.size() && !ended_) {
            const char c = in_[pos_++];
            switch (c) {
                case '{':
                    OpenGroup();
                    break;
                case '}':
                    CloseGroup();
                    break;
                case '\\':
                    Control();
                    break;
                default:
                    TextByte(static_cast<unsigned char>(c));
                    break;
            }
        }
        FlushSurrogate();
        if (!paragraph_.runs.empty()) {
            EndParagraph();
        }
        return std::move(document_);
    }

  private:
    void OpenGroup() {
        if (stack_.size() >= kMaxTrackedDepth) {
            ++untrackedDepth_;
            return;
        }
        stack_.push_back(state_);
        skipChars_ = 0;
    }

    void CloseGroup() {
        skipChars_ = 0;
        if (untrackedDepth_ > 0) {
            --untrackedDepth_;
            return;
        }
        if (stack_.empty()) {
            ended_ = true;  // the document's own group has closed
            return;
        }
        if (state_.destination == Destination::ColourTable && hasComponent_) {
            colours_.push_back(pendingColour_);  // a last entry without ';'
            hasComponent_ = false;
        }
        if (stack_.size() == 1) {
            // The document's own group closes: its last paragraph ends here,
            // with the alignment in force inside the group.
            ended_ = true;
            FlushSurrogate();
            if (!paragraph_.runs.empty()) {
                EndParagraph();
            }
        }
        state_ = stack_.back();
        stack_.pop_back();
    }

    void Control() {
        if (pos_ >= in_.size()) {
            return;  // a lone backslash at the end
        }
        const char c = in_[pos_];
        if (!IsLetter(c)) {
            ++pos_;
            Symbol(c);
            return;
        }
        const std::size_t wordStart = pos_;
        while (pos_ < in_.size() && IsLetter(in_[pos_])) {
            ++pos_;
        }
        const std::string_view word = in_.substr(wordStart, pos_ - wordStart);
        std::optional<long> parameter;
        bool negative = false;
        if (pos_ + 1 < in_.size() && in_[pos_] == '-' && IsDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        if (pos_ < in_.size() && IsDigit(in_[pos_])) {
            long value = 0;
            while (pos_ < in_.size() && IsDigit(in_[pos_])) {
                value = std::min(kMaxParameter, value * 10 + (in_[pos_] - '0'));
                ++pos_;
            }
            parameter = negative ? -value : value;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ') {
            ++pos_;  // the delimiter belongs to the word
        }
        Word(word, parameter);
    }

    void Symbol(char c) {
        switch (c) {
            case '\\':
            case '{':
            case '}':
                Character(static_cast<unsigned char>(c));
                break;
            case '\'': {
                const int high = pos_ < in_.size() ? HexValue(in_[pos_]) : -1;
                const int low = pos_ + 1 < in_.size() ? HexValue(in_[pos_ + 1]) : -1;
                if (high < 0) {
                    return;  // not an escape: what follows is text
                }
                if (low < 0) {
                    ++pos_;  // a truncated escape is dropped with its one digit
                    return;
                }
                pos_ += 2;
                const auto byte = static_cast<unsigned char>(high * 16 + low);
                if (byte >= 0x20 || byte == '\t') {
                    Character(Windows1252(byte));
                } else {
                    SkipOrEmit(std::nullopt);
                }
                break;
            }
            case '~':
                Character(0x00A0);
                break;
            case '_':
                Character(0x2011);
                break;
            case '*':
                state_.destination = Destination::Skipped;
                break;
            case '\r':
            case '\n':
                Paragraph();
                break;
            default:
                break;  // \- (optional hyphen), \| and the rest show nothing
        }
    }

    void Word(std::string_view word, std::optional<long> parameter) {
        const long p = parameter.value_or(1);
        if (word == "colortbl") {
            state_.destination = Destination::ColourTable;
            colours_.clear();
            hasComponent_ = false;
            pendingColour_ = {};
        } else if (IsSkippedDestination(word)) {
            state_.destination = Destination::Skipped;
        } else if (word == "bin") {
            // Binary data follows; skip it whole, as far as the input has it.
            const auto count = static_cast<std::size_t>(std::max(0L, parameter.value_or(0)));
            pos_ += std::min(count, in_.size() - pos_);
        } else if (state_.destination == Destination::ColourTable) {
            const auto component = static_cast<std::uint8_t>(std::clamp(p, 0L, 255L));
            if (word == "red") {
                pendingColour_.red = component;
                hasComponent_ = true;
            } else if (word == "green") {
                pendingColour_.green = component;
                hasComponent_ = true;
            } else if (word == "blue") {
                pendingColour_.blue = component;
                hasComponent_ = true;
            }
        } else if (word == "par") {
            Paragraph();
        } else if (word == "pard") {
            state_.alignment = RtfAlignment::Left;
        } else if (word == "plain") {
            state_.ResetCharacter();
        } else if (word == "b") {
            state_.bold = p != 0;
        } else if (word == "i") {
            state_.italic = p != 0;
        } else if (word == "fs") {
            state_.fontSize = parameter && *parameter > 0
                                  ? static_cast<int>(std::clamp(*parameter, long{kMinFontSize},
                                                                long{kMaxFontSize}))
                                  : kDefaultFontSize;
        } else if (word == "cf") {
            state_.colourIndex = std::max(0L, parameter.value_or(0));
        } else if (word == "ql") {
            state_.alignment = RtfAlignment::Left;
        } else if (word == "qc") {
            state_.alignment = RtfAlignment::Centre;
        } else if (word == "qr") {
            state_.alignment = RtfAlignment::Right;
        } else if (word == "qj") {
            state_.alignment = RtfAlignment::Justified;
        } else if (word == "tab") {
            Character('\t');
        } else if (word == "line") {
            Character('\n');
        } else if (word == "uc") {
            state_.unicodeSkip = static_cast<int>(std::clamp(p, 0L, 8L));
        } else if (word == "u" && parameter) {
            Unicode(*parameter);
        } else if (word == "emdash") {
            Character(0x2014);
        } else if (word == "endash") {
            Character(0x2013);
        } else if (word == "bullet") {
            Character(0x2022);
        } else if (word == "lquote") {
            Character(0x2018);
        } else if (word == "rquote") {
            Character(0x2019);
        } else if (word == "ldblquote") {
            Character(0x201C);
        } else if (word == "rdblquote") {
            Character(0x201D);
        } else if (word == "emspace" || word == "enspace") {
            Character(' ');
        }
        // Every other word (\rtf1, \ansi, \deff0, \f0, \lang, ...) changes
        // nothing the reader shows.
    }

    // \uN: a UTF-16 unit as a signed 16-bit number, followed by unicodeSkip
    // characters that stand in for it in older readers.
    void Unicode(long value) {
        if (value < 0) {
            value += 65536;
        }
        if (value < 0 || value > 0xFFFF) {
            value = kReplacement;
        }
        const auto unit = static_cast<char32_t>(value);
        if (state_.destination == Destination::Text) {
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                FlushSurrogate();
                highSurrogate_ = unit;
            } else if (unit >= 0xDC00 && unit <= 0xDFFF && highSurrogate_ != 0) {
                const char32_t c = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
                highSurrogate_ = 0;
                Emit(c);
            } else {
                Emit(unit);
            }
        }
        skipChars_ = state_.unicodeSkip;
    }

    void TextByte(unsigned char byte) {
        if (byte == '\r' || byte == '\n') {
            return;  // line ends in the file are not text
        }
        if (byte == '\t') {
            Character('\t');
            return;
        }
        if (byte < 0x20) {
            SkipOrEmit(std::nullopt);
            return;
        }
        if (state_.destination == Destination::ColourTable && byte == ';') {
            colours_.push_back(hasComponent_ ? std::optional<RtfColour>(pendingColour_)
                                             : std::nullopt);
            pendingColour_ = {};
            hasComponent_ = false;
            return;
        }
        Character(Windows1252(byte));
    }

    // A character of the text; consumed instead when it stands in for a \uN.
    void Character(char32_t c) { SkipOrEmit(c); }

    void SkipOrEmit(std::optional<char32_t> c) {
        if (skipChars_ > 0) {
            --skipChars_;
            return;
        }
        if (c && state_.destination == Destination::Text) {
            FlushSurrogate();
            Emit(*c);
        }
    }

    void FlushSurrogate() {
        if (highSurrogate_ != 0) {
            highSurrogate_ = 0;
            Emit(kReplacement);
        }
    }

    void Emit(char32_t c) {
        std::optional<RtfColour> colour;
        const auto index = static_cast<std::size_t>(state_.colourIndex);
        if (index < colours_.size()) {
            colour = colours_[index];
        }
        std::vector<RtfRun>& runs = paragraph_.runs;
        if (runs.empty() || runs.back().bold != state_.bold ||
            runs.back().italic != state_.italic ||
            runs.back().fontSizeHalfPoints != state_.fontSize || runs.back().colour != colour) {
            RtfRun run;
            run.bold = state_.bold;
            run.italic = state_.italic;
            run.fontSizeHalfPoints = state_.fontSize;
            run.colour = colour;
            runs.push_back(std::move(run));
        }
        AppendUtf8(runs.back().text, c);
    }

    void Paragraph() {
        skipChars_ = 0;
        if (state_.destination == Destination::Text) {
            FlushSurrogate();
            EndParagraph();
        }
    }

    void EndParagraph() {
        // A paragraph takes the alignment in force where it ends.
        paragraph_.alignment = state_.alignment;
        document_.paragraphs.push_back(std::move(paragraph_));
        paragraph_ = RtfParagraph{};
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    bool ended_ = false;
    std::vector<GroupState> stack_;
    std::size_t untrackedDepth_ = 0;
    GroupState state_;
    std::vector<std::optional<RtfColour>> colours_;
    RtfColour pendingColour_;
    bool hasComponent_ = false;
    int skipChars_ = 0;
    char32_t highSurrogate_ = 0;
    RtfParagraph paragraph_;
    RtfDocument document_;
};

void AppendEscaped(std::string& html, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '&':
                html += "&amp;";
                break;
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '"':
                html += "&quot;";
                break;
            case '\n':
                html += "<br />";
                break;
            default:
                html += c;
                break;
        }
    }
}

const char* AlignmentName(RtfAlignment alignment) {
    switch (alignment) {
        case RtfAlignment::Centre:
            return "center";
        case RtfAlignment::Right:
            return "right";
        case RtfAlignment::Justified:
            return "justify";
        case RtfAlignment::Left:
            break;
    }
    return "left";
}

}  // namespace

std::string Windows1252ToUtf8(unsigned char byte) {
    std::string text;
    AppendUtf8(text, Windows1252(byte));
    return text;
}

std::optional<RtfDocument> ParseRtf(std::string_view bytes) {
    std::size_t start = 0;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        start = 3;
    }
    while (start < bytes.size() && (bytes[start] == ' ' || bytes[start] == '\t' ||
                                    bytes[start] == '\r' || bytes[start] == '\n')) {
        ++start;
    }
    if (bytes.substr(start, 5) != "{\\rtf") {
        return std::nullopt;
    }
    return Parser(bytes).Run(start);
}

std::string RtfPlainText(const RtfDocument& document) {
    std::string text;
    for (std::size_t k = 0; k < document.paragraphs.size(); ++k) {
        if (k > 0) {
            text += '\n';
        }
        for (const RtfRun& run : document.paragraphs[k].runs) {
            text += run.text;
        }
    }
    return text;
}

std::string RtfToHtml(const RtfDocument& document) {
    std::string html;
    for (const RtfParagraph& paragraph : document.paragraphs) {
        html += "<p style=\"margin-top:0px; margin-bottom:0px; white-space:pre-wrap; text-align:";
        html += AlignmentName(paragraph.alignment);
        html += ";\">";
        if (paragraph.runs.empty()) {
            html += "<br />";  // an empty paragraph keeps its line
        }
        for (const RtfRun& run : paragraph.runs) {
            html += "<span style=\"font-size:";
            html += std::to_string(run.fontSizeHalfPoints / 2);
            if (run.fontSizeHalfPoints % 2 != 0) {
                html += ".5";
            }
            html += "pt;";
            if (run.bold) {
                html += " font-weight:bold;";
            }
            if (run.italic) {
                html += " font-style:italic;";
            }
            if (run.colour) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "#%02x%02x%02x", run.colour->red, run.colour->green,
                              run.colour->blue);
                html += " color:";
                html += hex;
                html += ';';
            }
            html += "\">";
            AppendEscaped(html, run.text);
            html += "</span>";
        }
        html += "</p>\n";
    }
    return html;
}

}  // namespace halvorn
