// A reader of the small rich-text (RTF) subset that the description files
// shipped beside the program use, and its conversion to HTML for a text view.
//
// Understood: groups; \par, \pard, \line, \tab; \plain, \b, \i, \fsN (half
// points), \cfN with the colour table (\colortbl of \redN\greenN\blueN
// entries); \qc, \qr, \qj, \ql; the escapes \\ \{ \} and \~; \'hh bytes in
// Windows-1252; \uN with \ucN; a few named punctuation words (\emdash,
// \endash, \bullet, \lquote, \rquote, \ldblquote, \rdblquote). The font
// table, style sheet, information group, pictures, "\*" destinations and every
// other destination are skipped; unknown control words are ignored. Malformed
// input (unbalanced braces, truncated escapes, huge numbers) never fails: the
// reader keeps what it can make out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvorn {

struct RtfColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const RtfColour&) const = default;
};

struct RtfRun {
    std::string text;  // UTF-8; '\t' for a tab, '\n' for a line break
    bool bold = false;
    bool italic = false;
    int fontSizeHalfPoints = 24;
    std::optional<RtfColour> colour;  // none: the view's own text colour
};

enum class RtfAlignment { Left, Centre, Right, Justified };

struct RtfParagraph {
    RtfAlignment alignment = RtfAlignment::Left;
    std::vector<RtfRun> runs;  // neighbouring runs differ in style
};

struct RtfDocument {
    std::vector<RtfParagraph> paragraphs;
};

// Reads an RTF text. Returns nothing when the bytes do not start with "{\rtf"
// (blanks and a UTF-8 byte order mark before it are allowed).
std::optional<RtfDocument> ParseRtf(std::string_view bytes);

// The document's text: paragraphs joined by '\n'.
std::string RtfPlainText(const RtfDocument& document);

// The document as an HTML fragment for a rich-text view, one <p> per
// paragraph, with the text's <, >, & and " escaped.
std::string RtfToHtml(const RtfDocument& document);

// The UTF-8 form of a Windows-1252 byte.
std::string Windows1252ToUtf8(unsigned char byte);

}  // namespace halvorn
