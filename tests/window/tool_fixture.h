// A spectrum window with a JCAMP-DX spectrum of its own: 4000 to 400 cm-1 in
// steps of 1 (3601 points), every dialog answered by script.
#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <memory>
#include <string>

#include "window/graph_window.h"
#include "window/scripted_prompts.h"

namespace halvorn::test {

// A JCAMP-DX file of transmittance fractions between 0.2 and 0.6 at the
// wavenumbers first, first - 1, ..., last.
inline QByteArray JcampSpectrum(int first, int last) {
    const int n = first - last + 1;
    QByteArray text;
    text += "##TITLE=Tool test\n##XUNITS=1/CM\n##YUNITS=TRANSMITTANCE\n##YFACTOR=1\n";
    text += "##DELTAX=-1\n##FIRSTX=" + QByteArray::number(first) +
            "\n##LASTX=" + QByteArray::number(last) + "\n##MINY=0.2\n##MAXY=0.6\n";
    text += "##NPOINTS=" + QByteArray::number(n) + "\n##XYDATA=(X++(Y..Y))\n";
    for (int k = 0; k < n; k += 10) {
        text += QByteArray::number(first - k);
        for (int j = k; j < std::min(n, k + 10); ++j) {
            const double y = 0.4 + 0.2 * std::sin(j / 37.0);
            text += " " + QByteArray::number(y, 'f', 4);
        }
        text += "\n";
    }
    text += "##END=\n";
    return text;
}

struct ToolWindow {
    QTemporaryDir dir;
    std::string path;
    std::unique_ptr<ViewerState> state = std::make_unique<ViewerState>();
    std::unique_ptr<ScriptedPrompts> prompts = std::make_unique<ScriptedPrompts>();
    std::unique_ptr<SpectrumWindow> window;

    ToolWindow() {
        path = dir.filePath("tools.jdx").toStdString();
        QFile file(QString::fromStdString(path));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(JcampSpectrum(4000, 400));
        }
        file.close();
        window = std::make_unique<SpectrumWindow>(*state, *prompts, nullptr);
        window->Load();
        window->show();
        state->DialogFileName = path;
        state->DialogFileTitle = "tools.jdx";
        window->SetMultGlobalControlsVisible(true);
        window->OpenFile(FileFormat::Jcamp, path, "tools.jdx");
    }

    template <typename T>
    T* Find(const QString& name) const {
        return window->findChild<T*>(name);
    }
};

}  // namespace halvorn::test
