#include "core/export_text.h"

#include <charconv>

#include "core/numbers.h"

namespace halvorn {

namespace {

// Appends every value as decimal integer text and CR LF.
void AppendIntegerLines(std::string& text, const std::int32_t* values, std::size_t count) {
    const std::size_t start = text.size();
    text.resize(start + count * 13);  // "-2147483648\r\n"
    char* out = text.data() + start;
    char* const end = text.data() + text.size();
    for (std::size_t i = 0; i < count; ++i) {
        out = std::to_chars(out, end, values[i]).ptr;
        *out++ = '\r';
        *out++ = '\n';
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
}

void WriteX(std::string& text, const float* x, std::size_t count, char separator) {
    text.clear();
    text.reserve(count * 10);
    for (std::size_t i = 0; i < count; ++i) {
        text += SingleText(x[i], separator);
        text += "\r\n";
    }
}

void WriteYValues(std::string& text, const std::int32_t* y, std::size_t count, double yFactor,
                  char separator) {
    text.clear();
    text.reserve(count * 18);
    for (std::size_t i = 0; i < count; ++i) {
        text += DoubleText(static_cast<double>(y[i]) / yFactor, separator);
        text += "\r\n";
    }
}

std::size_t PointsOf(const Spectrum& s) {
    return s.PointCount > 0 ? static_cast<std::size_t>(s.PointCount) : 0;
}

// The ordinates are kept for the stored-ordinate and the Y-value texts until
// both are written.
void ReleasePendingY(ExportPoints& pending) {
    if (!pending.zPending && !pending.yPending) {
        pending.y = {};
    }
}

}  // namespace

void BuildExportTexts(Spectrum& s, char decimalSeparator) {
    const std::size_t n = PointsOf(s);
    s.PendingExport = ExportPoints{};
    s.ZZ.clear();
    AppendIntegerLines(s.ZZ, s.RawY.data() + 1, n);
    s.DataTextBox = s.ZZ;
    WriteX(s.ZZX, s.WaveX.data() + 1, n, decimalSeparator);
    WriteYValues(s.ZZYE, s.RawY.data() + 1, n, s.YFactor, decimalSeparator);
}

void PrepareExportTexts(Spectrum& s, char decimalSeparator) {
    const std::size_t n = PointsOf(s);
    s.ZZ.clear();
    s.DataTextBox.clear();
    s.ZZX.clear();
    s.ZZYE.clear();
    ExportPoints& pending = s.PendingExport;
    pending.x.assign(s.WaveX.begin() + 1, s.WaveX.begin() + 1 + static_cast<std::ptrdiff_t>(n));
    pending.y.assign(s.RawY.begin() + 1, s.RawY.begin() + 1 + static_cast<std::ptrdiff_t>(n));
    pending.yFactor = s.YFactor;
    pending.separator = decimalSeparator;
    pending.zPending = true;
    pending.xPending = true;
    pending.yPending = true;
}

const std::string& ExportTextOf(const Spectrum& s, ExportText which) {
    ExportPoints& pending = s.PendingExport;
    switch (which) {
        case ExportText::StoredY:
            if (pending.zPending) {
                s.ZZ.clear();
                AppendIntegerLines(s.ZZ, pending.y.data(), pending.y.size());
                pending.zPending = false;
                ReleasePendingY(pending);
            }
            return s.ZZ;
        case ExportText::X:
            if (pending.xPending) {
                WriteX(s.ZZX, pending.x.data(), pending.x.size(), pending.separator);
                pending.xPending = false;
                pending.x = {};
            }
            return s.ZZX;
        case ExportText::YValues:
            break;
    }
    if (pending.yPending) {
        WriteYValues(s.ZZYE, pending.y.data(), pending.y.size(), pending.yFactor,
                     pending.separator);
        pending.yPending = false;
        ReleasePendingY(pending);
    }
    return s.ZZYE;
}
std::string DefaultSaveName(const Spectrum& s, ExportText which) {
    std::string base = s.OpenedFilePath.empty() ? "Demo.sp" : s.OpenedFilePath;
    // Three characters go, not three bytes: a name in UTF-8 that ends in
    // letters of more than one byte keeps whole letters.
    for (int dropped = 0; dropped < 3 && !base.empty(); ++dropped) {
        bool continuation = true;
        while (continuation && !base.empty()) {
            continuation = (static_cast<unsigned char>(base.back()) & 0xC0) == 0x80;
            base.pop_back();
        }
    }
    switch (which) {
        case ExportText::StoredY:
            return base + "(Y).txt";
        case ExportText::X:
            return base + "(X).txt";
        case ExportText::YValues:
            break;
    }
    return base + (s.FileIsAbsorbance ? "(Y(Absorbance))" : "(Y%)") + ".txt";
}

std::string SavedFileBytes(const Spectrum& s, ExportText which) {
    return ExportTextOf(s, which) + "\r\n";
}

}  // namespace halvorn
