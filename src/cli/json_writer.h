// The JSON that halvorn-cli prints: documents built with nlohmann::json in the
// order their keys were set, written with doubles in their shortest exact form.
#pragma once

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>
#include <string_view>

namespace halvorn {

// Keys keep the order in which they were set.
using Json = nlohmann::ordered_json;

// Writes value compactly. Doubles (floats as the doubles they convert to) are
// written with the fewest digits that read back to the same value and without
// a decimal point when they are whole ("105", not "105.0"); NaN and infinities,
// which JSON cannot hold, as null. Strings may hold any bytes: well-formed
// UTF-8 passes through, any other byte is taken as a Latin-1 character.
void WriteJson(std::ostream& out, const Json& value);

// The same as a string.
std::string JsonText(const Json& value);

// The text as well-formed UTF-8, each byte that is not part of a well-formed
// sequence taken as a Latin-1 character.
std::string Utf8OrLatin1(std::string_view text);

}  // namespace halvorn
