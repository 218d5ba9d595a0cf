// The character set of a file's text: UTF-8 when the bytes are valid UTF-8,
// else one of the two single-byte sets met in spectrum files, Latin-1 or
// Windows-1251 (Cyrillic), told apart by how their letters group into words.
#pragma once

#include <string>
#include <string_view>

namespace halvorn {

enum class TextEncoding { Utf8, Latin1, Windows1251 };

bool IsValidUtf8(std::string_view bytes);

// UTF-8 when valid; otherwise Windows-1251 when most of the letters beyond
// ASCII stand next to another such letter (Cyrillic words), else Latin-1.
TextEncoding GuessTextEncoding(std::string_view bytes);

// The text in UTF-8; UTF-8 text is returned as it is.
std::string ToUtf8(std::string_view text, TextEncoding encoding);

// A file's text as it is shown: UTF-8 text as it is, other bytes in the
// single-byte set GuessTextEncoding finds, converted to UTF-8.
std::string ShownText(std::string_view bytes);

// Valid UTF-8 text as UTF-16.
std::u16string Utf16OfUtf8(std::string_view utf8);

// The text with its ASCII letters in upper case; other bytes as they are.
std::string AsciiUpperCase(std::string_view text);

// Whether the text has a byte beyond ASCII.
bool HasNonAscii(std::string_view bytes);

// The text cut after at most count characters of UTF-8, never inside one.
std::string_view FirstCharacters(std::string_view utf8, std::size_t count);

// The number of UTF-8 characters of the text.
std::size_t CharacterCount(std::string_view utf8);

}  // namespace halvorn
