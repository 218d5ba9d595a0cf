// Small files of each format for the main window's tests, written on the spot.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <utility>

namespace halvorn::test {

// %T of a synthetic spectrum with dips at 2900, 1700 and 1000 cm-1.
inline double Transmittance(double nu) {
    double t = 92.0;
    for (const auto& [centre, depth] : {std::pair{2900.0, 60.0}, {1700.0, 70.0}, {1000.0, 40.0}}) {
        t -= depth * std::exp(-std::pow((nu - centre) / 15.0, 2));
    }
    return t;
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A JCAMP-DX file of 4000..500 cm-1 every 2 cm-1, five ordinates a line.
inline QByteArray JcampBytes() {
    const int n = 1751;
    QByteArray b =
        "##TITLE=Synthetic test film\n##JCAMP-DX=4.24\n##XUNITS=1/CM\n"
        "##YUNITS=TRANSMITTANCE\n##YFACTOR=0.001\n##DELTAX=-2\n##FIRSTX=4000\n##LASTX=500\n"
        "##MINY=0.2\n##MAXY=0.92\n##NPOINTS=1751\n##XYDATA=(X++(Y..Y))\n";
    for (int i = 0; i < n; i += 5) {
        b += QByteArray::number(4000 - 2 * i);
        for (int k = i; k < std::min(n, i + 5); ++k) {
            b += " " + QByteArray::number(std::lround(Transmittance(4000.0 - 2 * k) * 10));
        }
        b += "\n";
    }
    return b + "##END=\n";
}

// A PRN table of 4000..600 cm-1, wavenumber TAB %T, decimal commas.
inline QByteArray PrnBytes() {
    QByteArray b;
    for (int nu = 4000; nu >= 600; nu -= 2) {
        b += QByteArray::number(nu) + "\t" +
             QByteArray::number(Transmittance(nu), 'f', 2).replace('.', ',') + "\r\n";
    }
    return b;
}

}  // namespace halvorn::test
