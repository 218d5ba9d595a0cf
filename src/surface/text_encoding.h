// What the characters of a text mean. Texts reach the surfaces as bytes in the
// ANSI code page (Windows-1252), or in UTF-8 where a file's text was read as
// such; in a "Symbol" font the same bytes are symbol
// codes: "a" is alpha, 0xA5 infinity, 0xAF a downward arrow. Every surface
// draws Unicode text in an ordinary face, so the symbol codes are translated
// here, once, for the painter surfaces and the metafile alike.
#pragma once

#include <string>
#include <string_view>

namespace halvorn {

// True for the face name "Symbol" (any letter case).
bool IsSymbolFace(std::string_view face);

// Windows-1252 bytes as UTF-16 (the five unassigned bytes stay as the C1
// control characters of the same value); text beyond ASCII that is valid
// UTF-8 is read as UTF-8.
std::u16string DecodeAnsi(std::string_view bytes);

// Symbol-font codes as UTF-16: Greek letters, arrows and mathematical signs
// at their Unicode places; "m" becomes the micro sign, since a symbol font's mu
// is used for the unit micrometre. Codes without a symbol meaning (digits,
// punctuation) read as in Windows-1252.
std::u16string DecodeSymbol(std::string_view bytes);

// The text of a TextOut call in a font of the given face.
inline std::u16string DecodeForFace(std::string_view face, std::string_view bytes) {
    return IsSymbolFace(face) ? DecodeSymbol(bytes) : DecodeAnsi(bytes);
}

// The face that actually draws a requested face: "Symbol" is drawn with its
// Unicode characters in "Arial" (whose installed stand-in has them); every
// other face is kept.
std::string DrawingFace(std::string_view face);

}  // namespace halvorn
