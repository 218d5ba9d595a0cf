// A file read, redrawn and drawn as the copy-preview figure, as
// `halvorn-cli render` does. The first byte chooses the reader (bits 0-1: *.sp,
// JCAMP-DX, PRN), the figure's form (bit 2: image, else the metafile recorder)
// and two display options (bit 3: fixed 0-100 %T range, bit 4: wavelength
// scale); the rest is the file.
#include <cstddef>
#include <cstdint>

#include "cli/render_file.h"
#include "fuzz_input.h"
#include "graph/graph_fault.h"
#include "render/render.h"
#include "surface/metafile_geometry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace halvorn;
    if (size < 1) {
        return 0;
    }
    // Fonts need an application; it lives as long as the process.
    static const GuiApplicationScope application;

    const std::uint8_t choice = data[0];
    const FileFormat format = (choice & 3) == 0   ? FileFormat::Sp
                              : (choice & 3) == 1 ? FileFormat::Jcamp
                                                  : FileFormat::Prn;
    Spectrum s;
    if (!fuzz::ReadBytes(format, data + 1, size - 1, s).ok) {
        return 0;
    }
    FigureRequest request;
    request.settings.FixedYRange = (choice & 8) != 0 ? 1 : 0;
    request.settings.XScaleKind = (choice & 16) != 0 ? 1 : 0;
    FigureGraph prepared(s, request);
    if (!prepared.Prepare().ok) {
        return 0;
    }
    const FigureState figure = ComposeFigure(prepared, request);
    (void)RunGuarded([&] {
        if ((choice & 4) != 0) {
            (void)FigureImage(prepared.graph(), figure);
        } else {
            (void)FigureMetafile(prepared.graph(), figure, FixedScreenMetrics());
        }
    });
    return 0;
}
