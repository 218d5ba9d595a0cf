#include "core/export_text.h"

#include "core/numbers.h"

namespace halvorn {

void BuildExportTexts(Spectrum& s, char decimalSeparator) {
    s.ZZ.clear();
    s.ZZX.clear();
    s.ZZYE.clear();
    const std::size_t n = s.PointCount > 0 ? static_cast<std::size_t>(s.PointCount) : 0;
    s.ZZ.reserve(n * 10);
    s.ZZX.reserve(n * 10);
    s.ZZYE.reserve(n * 18);
    for (std::size_t i = 1; i <= n; ++i) {
        s.ZZ += IntegerText(s.RawY[i]);
        s.ZZ += "\r\n";
        s.ZZX += SingleText(s.WaveX[i], decimalSeparator);
        s.ZZX += "\r\n";
        s.ZZYE += DoubleText(static_cast<double>(s.RawY[i]) / s.YFactor, decimalSeparator);
        s.ZZYE += "\r\n";
    }
    s.DataTextBox = s.ZZ;
}

const std::string& ExportTextOf(const Spectrum& s, ExportText which) {
    switch (which) {
        case ExportText::StoredY:
            return s.ZZ;
        case ExportText::X:
            return s.ZZX;
        case ExportText::YValues:
            break;
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
