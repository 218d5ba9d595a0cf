#include "core/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

#include "core/numbers.h"

namespace halvorn {

namespace {

// A settings file is five short lines; anything much longer is not one.
constexpr std::size_t kMaxSettingsBytes = 64 * 1024;

std::string_view Trimmed(std::string_view field) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!field.empty() && blank(field.front())) {
        field.remove_prefix(1);
    }
    while (!field.empty() && blank(field.back())) {
        field.remove_suffix(1);
    }
    return field;
}

// A field that is a number: an optional sign, digits, an optional decimal
// part. An empty field reads as 0; anything else, and a number beyond the
// double range (hundreds of digits), is not a number.
std::optional<double> FieldValue(std::string_view field) {
    field = Trimmed(field);
    if (field.empty()) {
        return 0.0;
    }
    std::size_t k = 0;
    if (field[k] == '+' || field[k] == '-') {
        ++k;
    }
    bool digits = false;
    bool point = false;
    for (; k < field.size(); ++k) {
        const char c = field[k];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    try {
        return ParseNumber(field);
    } catch (const ArithmeticFault&) {
        return std::nullopt;
    }
}

// The value when it is one of the field's options (0 to highest once rounded),
// otherwise the value held.
std::int16_t InRange(double value, std::int16_t highest, std::int16_t held) {
    if (!(value >= -32768.5 && value < 32767.5)) {
        return held;
    }
    const std::int16_t v = ToInteger(value);
    return v >= 0 && v <= highest ? v : held;
}

std::string ErrorText(int error, const char* otherwise) {
    return error != 0 ? std::strerror(error) : otherwise;
}

// Writes all bytes to fd; false with errno set on failure.
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::string SettingsFileText(const DisplaySettings& settings) {
    std::string text;
    for (std::int16_t v : {settings.FixedYRange, settings.WavenumberSections,
                           settings.PreferenceSource, settings.YGridMode, settings.XScaleKind}) {
        text += v < 0 ? "" : " ";
        text += IntegerText(v);
        text += " \r\n";
    }
    return text;
}

std::optional<DisplaySettings> ParseSettingsText(std::string_view text,
                                                 const DisplaySettings& held) {
    std::vector<double> values;
    std::size_t pos = 0;
    while (pos < text.size() && values.size() < 5) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (Trimmed(line).empty()) {
            continue;  // blank lines (and the LF of a CR LF) hold no value
        }
        std::size_t from = 0;
        while (values.size() < 5) {
            const std::size_t comma = line.find(',', from);
            const std::optional<double> v = FieldValue(line.substr(from, comma - from));
            if (!v) {
                return std::nullopt;
            }
            values.push_back(*v);
            if (comma == std::string_view::npos) {
                break;
            }
            from = comma + 1;
        }
    }
    if (values.size() < 5) {
        return std::nullopt;
    }
    DisplaySettings s = held;
    s.FixedYRange = InRange(values[0], 1, held.FixedYRange);
    s.WavenumberSections = InRange(values[1], 2, held.WavenumberSections);
    s.PreferenceSource = InRange(values[2], 1, held.PreferenceSource);
    s.YGridMode = InRange(values[3], 1, held.YGridMode);
    s.XScaleKind = InRange(values[4], 1, held.XScaleKind);
    return s;
}

bool LoadSettings(const std::string& path, DisplaySettings& settings) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::string text(kMaxSettingsBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) {
        return false;
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    const std::optional<DisplaySettings> read = ParseSettingsText(text, settings);
    if (!read) {
        return false;
    }
    settings = *read;
    return true;
}

std::string SaveSettings(const std::string& path, const DisplaySettings& settings) {
    // The text goes to a new file beside the old one, which it then replaces in
    // one rename: a full disk or a failing write leaves the old file whole.
    const std::string text = SettingsFileText(settings);
    std::string temporary = path + ".XXXXXX";
    errno = 0;
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return ErrorText(errno, "the file cannot be created");
    }
    // The new file gets the old one's permissions, or the usual ones.
    struct stat old {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = static_cast<mode_t>(0666 & ~mask);
    }
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return ErrorText(error, "the file cannot be written");
    }
    return {};
}

}  // namespace halvorn
