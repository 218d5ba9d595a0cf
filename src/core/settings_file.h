// The settings file: the five display preferences, one per line, in the order
// FixedYRange, WavenumberSections, PreferenceSource, YGridMode, XScaleKind.
// Each line holds the value in the line-printing form of an integer (a blank or
// a minus sign, the digits, one trailing blank) and ends with CR LF:
//
//    0 \r\n 2 \r\n 1 \r\n 0 \r\n 0 \r\n
//
// Reading takes five numbers in order, each ended by the end of its line or by
// a comma, blanks around them ignored.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/settings.h"

namespace halvorn {

inline constexpr const char* kSettingsFileName = "Halvorn.ini";

// The file's text for these values.
std::string SettingsFileText(const DisplaySettings& settings);

// The five values of a settings text, or nothing when the text does not start
// with five numbers (a number too large for a double is not one). A value
// outside its range (FixedYRange, PreferenceSource, YGridMode and XScaleKind 0
// or 1; WavenumberSections 0 to 2) leaves that field as held.
std::optional<DisplaySettings> ParseSettingsText(std::string_view text,
                                                 const DisplaySettings& held = {});

// Reads the file into settings. A missing, unreadable or short file leaves
// every value as it was and returns false.
bool LoadSettings(const std::string& path, DisplaySettings& settings);

// Writes the file whole, replacing it only once the new text is on disk.
// Returns an empty text on success, otherwise what went wrong (the old file, if
// any, is then left as it was).
std::string SaveSettings(const std::string& path, const DisplaySettings& settings);

}  // namespace halvorn
