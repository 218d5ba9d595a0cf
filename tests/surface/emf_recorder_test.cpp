// The metafile recording: its geometry from the screen metrics, and the bytes
// read back by an independent EMF reader (libUEMF's record checks and
// libemf2svg's converter) with the records, extents and texts expected.
#include "surface/emf_recorder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "surface/metafile_geometry.h"
#include "surface/qt_metafile.h"

extern "C" {
#include <emf2svg.h>
#include <uemf.h>
#include <uemf_safe.h>
}

namespace halvorn {
namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::int32_t I32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::int32_t>(U32(b, at));
}

struct Record {
    std::uint32_t type;
    std::size_t offset;
    std::uint32_t size;
};

// Walks the records with the format's own rules; fails the test on the first
// broken one.
std::vector<Record> Walk(const std::vector<std::uint8_t>& emf) {
    std::vector<Record> records;
    std::size_t at = 0;
    while (at < emf.size()) {
        EXPECT_LE(at + 8, emf.size());
        const std::uint32_t type = U32(emf, at);
        const std::uint32_t size = U32(emf, at + 4);
        EXPECT_GE(size, 8u) << "record " << records.size();
        EXPECT_EQ(size % 4, 0u) << "record " << records.size();
        EXPECT_LE(at + size, emf.size()) << "record " << records.size();
        if (size < 8 || size % 4 != 0 || at + size > emf.size()) {
            break;
        }
        std::vector<char> copy(emf.begin() + static_cast<std::ptrdiff_t>(at),
                               emf.begin() + static_cast<std::ptrdiff_t>(at + size));
        EXPECT_NE(U_emf_record_safe(copy.data()), 0)
            << "record " << records.size() << " type " << type;
        records.push_back({type, at, size});
        at += size;
    }
    return records;
}

// The geometry of the figure on a 96 dpi screen whose physical size agrees.
MetafileGeometry FigureGeometry() {
    return *ComputeMetafileGeometry(FixedScreenMetrics(), 747, 456);
}

// Records a little figure: grid line, trace, texts in every font kind, a
// fill, pixels.
std::vector<std::uint8_t> RecordSample(TextMeasurer measurer = nullptr) {
    EmfRecorder emf(FixedScreenMetrics(), FigureGeometry(), std::move(measurer));
    const ObjectHandle pen = emf.CreatePen(MakeRgb(192, 0, 0));
    const ObjectHandle oldPen = emf.SelectObject(pen);
    emf.MoveTo(35, 70);
    emf.LineTo(708, 70);
    emf.LineTo(708, 418);
    const ObjectHandle label = emf.CreateFont({"Arial", -11, 0, 0, 400});
    const ObjectHandle oldFont = emf.SelectObject(label);
    emf.TextOut(300, 40, "Wavelenght, ");
    const ObjectHandle symbol = emf.CreateFont({"Symbol", -10, 0, 0, 400});
    emf.SelectObject(symbol);
    emf.TextOut(340, 41, "m");
    emf.TextOut(720, 400, "A\xAF");
    const ObjectHandle rising = emf.CreateFont({"Arial", -10, 4, 900, 400});
    emf.SelectObject(rising);
    emf.DeleteObject(symbol);
    emf.SetTextColor(MakeRgb(0, 0, 255));
    emf.TextOut(5, 300, "Transmittance");
    emf.FillRect(100, 100, 110, 130, MakeRgb(192, 255, 255));
    emf.SetPixel(50, 60, 0);
    emf.SelectObject(oldFont);
    emf.SelectObject(oldPen);
    emf.DeleteObject(rising);
    emf.DeleteObject(label);
    emf.DeleteObject(pen);
    return emf.Finish();
}

TEST(MetafileGeometry, NinetySixDpiScreen) {
    const auto g = ComputeMetafileGeometry(FixedScreenMetrics(), 747, 456);
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->frame.left, 0);
    EXPECT_EQ(g->frame.top, 0);
    EXPECT_EQ(g->frame.right, 19764);
    EXPECT_EQ(g->frame.bottom, 12065);
    EXPECT_EQ(g->windowExtent.cx, 747);
    EXPECT_EQ(g->windowExtent.cy, 456);
    EXPECT_EQ(g->viewportExtent.cx, 747);
    EXPECT_EQ(g->viewportExtent.cy, 456);  // 455.6 on a 1080-pixel, 286 mm screen
    EXPECT_EQ(g->bounds.right, 746);
    EXPECT_EQ(g->bounds.bottom, 455);
}

TEST(MetafileGeometry, ViewportFollowsThePhysicalSize) {
    // A 1920 x 1080 screen at 96 dpi that is really 600 x 340 mm.
    const auto g = ComputeMetafileGeometry({1920, 1080, 600, 340, 96, 96}, 747, 456);
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->windowExtent.cx, 747);
    EXPECT_EQ(g->viewportExtent.cx, 632);  // 7.78125 in x 25.4 x 1920 / 600 = 632.46
    EXPECT_EQ(g->viewportExtent.cy, 383);  // 4.75 in x 25.4 x 1080 / 340 = 383.25
    // At 120 dpi the figure is smaller in inches.
    const auto large = ComputeMetafileGeometry({1920, 1080, 508, 286, 120, 120}, 747, 456);
    ASSERT_TRUE(large.has_value());
    EXPECT_EQ(large->frame.right, 15811);  // 6.225 in
    EXPECT_EQ(large->windowExtent.cx, 747);
}

TEST(MetafileGeometry, UnusableMetricsGiveNoGeometry) {
    ScreenMetrics noSize = FixedScreenMetrics();
    noSize.horzSize = 0;
    EXPECT_FALSE(ComputeMetafileGeometry(noSize, 747, 456).has_value());
    ScreenMetrics noDpi = FixedScreenMetrics();
    noDpi.logPixelsY = 0;
    EXPECT_FALSE(ComputeMetafileGeometry(noDpi, 747, 456).has_value());
    EXPECT_FALSE(ComputeMetafileGeometry(FixedScreenMetrics(), 0, 456).has_value());
    // A figure too large for the 32-bit frame.
    EXPECT_FALSE(ComputeMetafileGeometry({1920, 1080, 1, 1, 1, 1}, 2000000000, 456).has_value());
}

TEST(MetafileGeometry, PrimaryScreenMetricsAreUsable) {
    const ScreenMetrics m = PrimaryScreenMetrics();
    EXPECT_TRUE(ComputeMetafileGeometry(m, 747, 456).has_value());
    // The tests run on the offscreen platform, whose invented screen is not
    // asked: the recording uses the fixed screen.
    const ScreenMetrics fixed = FixedScreenMetrics();
    EXPECT_EQ(m.horzRes, fixed.horzRes);
    EXPECT_EQ(m.horzSize, fixed.horzSize);
    EXPECT_EQ(m.logPixelsY, fixed.logPixelsY);
}

TEST(EmfRecorder, HeaderAndRecordsAreWellFormed) {
    const std::vector<std::uint8_t> emf = RecordSample();
    const std::vector<Record> records = Walk(emf);
    ASSERT_GE(records.size(), 3u);
    EXPECT_EQ(records.front().type, static_cast<std::uint32_t>(U_EMR_HEADER));
    EXPECT_EQ(records.back().type, static_cast<std::uint32_t>(U_EMR_EOF));
    EXPECT_EQ(U32(emf, 40), 0x464D4520u);     // signature
    EXPECT_EQ(U32(emf, 48), emf.size());      // bytes
    EXPECT_EQ(U32(emf, 52), records.size());  // records
    EXPECT_EQ(I32(emf, 24 + 8), 19764);       // frame right
    EXPECT_EQ(I32(emf, 24 + 12), 12065);      // frame bottom
    EXPECT_EQ(I32(emf, 8 + 8), 746);          // bounds right
    EXPECT_EQ(I32(emf, 72), 1920);            // reference device pixels
    EXPECT_EQ(I32(emf, 80), 508);             // and millimetres
    // Handle count covers every slot used: the initial font, pen, three
    // fonts, the brush (in a freed slot).
    const std::uint16_t handles = static_cast<std::uint16_t>(emf[56] | (emf[57] << 8));
    std::uint32_t highest = 0;
    for (const Record& r : records) {
        if (r.type == U_EMR_CREATEPEN || r.type == U_EMR_EXTCREATEFONTINDIRECTW ||
            r.type == U_EMR_CREATEBRUSHINDIRECT) {
            highest = std::max(highest, U32(emf, r.offset + 8));
        }
    }
    EXPECT_EQ(handles, highest + 1);
}

TEST(EmfRecorder, MappingModeAndExtentsComeFirst) {
    const std::vector<std::uint8_t> emf = RecordSample();
    const std::vector<Record> records = Walk(emf);
    ASSERT_GE(records.size(), 5u);
    EXPECT_EQ(records[1].type, static_cast<std::uint32_t>(U_EMR_SETMAPMODE));
    EXPECT_EQ(U32(emf, records[1].offset + 8), static_cast<std::uint32_t>(U_MM_ANISOTROPIC));
    EXPECT_EQ(records[2].type, static_cast<std::uint32_t>(U_EMR_SETWINDOWEXTEX));
    EXPECT_EQ(I32(emf, records[2].offset + 8), 747);
    EXPECT_EQ(I32(emf, records[2].offset + 12), 456);
    EXPECT_EQ(records[3].type, static_cast<std::uint32_t>(U_EMR_SETVIEWPORTEXTEX));
    EXPECT_EQ(I32(emf, records[3].offset + 8), 747);
    EXPECT_EQ(I32(emf, records[3].offset + 12), 456);
    EXPECT_EQ(records[4].type, static_cast<std::uint32_t>(U_EMR_SETBKMODE));
    EXPECT_EQ(U32(emf, records[4].offset + 8), static_cast<std::uint32_t>(U_TRANSPARENT));
}

TEST(EmfRecorder, DrawingCallsBecomeTheirRecords) {
    const std::vector<std::uint8_t> emf = RecordSample();
    std::map<std::uint32_t, int> count;
    std::vector<std::int32_t> escapements;
    for (const Record& r : Walk(emf)) {
        ++count[r.type];
        if (r.type == U_EMR_EXTCREATEFONTINDIRECTW) {
            escapements.push_back(I32(emf, r.offset + 12 + 8));
            EXPECT_EQ(I32(emf, r.offset + 12 + 8), I32(emf, r.offset + 12 + 12));  // orientation
        }
        if (r.type == U_EMR_LINETO) {
            EXPECT_EQ(I32(emf, r.offset + 8), 708);
        }
        if (r.type == U_EMR_CREATEPEN) {
            EXPECT_EQ(U32(emf, r.offset + 24), MakeRgb(192, 0, 0));
        }
    }
    EXPECT_EQ(count[U_EMR_CREATEPEN], 1);
    EXPECT_EQ(count[U_EMR_EXTCREATEFONTINDIRECTW], 4);  // initial font + three
    EXPECT_EQ(count[U_EMR_MOVETOEX], 1);
    EXPECT_EQ(count[U_EMR_LINETO], 2);
    EXPECT_EQ(count[U_EMR_EXTTEXTOUTW], 4);
    EXPECT_EQ(count[U_EMR_SETTEXTCOLOR], 1);
    EXPECT_EQ(count[U_EMR_SETPIXELV], 1);
    EXPECT_EQ(count[U_EMR_RECTANGLE], 1);
    EXPECT_EQ(count[U_EMR_CREATEBRUSHINDIRECT], 1);
    EXPECT_EQ(count[U_EMR_DELETEOBJECT], 5);  // symbol, brush, rising, label, pen
    EXPECT_EQ(escapements, (std::vector<std::int32_t>{0, 0, 0, 900}));
}

// An object still selected is not deleted, and an unknown handle records
// nothing.
TEST(EmfRecorder, SelectedAndUnknownObjectsAreNotDeleted) {
    EmfRecorder emf(FixedScreenMetrics(), FigureGeometry());
    const ObjectHandle pen = emf.CreatePen(0);
    emf.SelectObject(pen);
    emf.DeleteObject(pen);
    emf.DeleteObject(999);
    EXPECT_EQ(emf.SelectObject(999), 0);
    std::map<std::uint32_t, int> count;
    for (const Record& r : Walk(emf.Finish())) {
        ++count[r.type];
    }
    EXPECT_EQ(count[U_EMR_DELETEOBJECT], 0);
    EXPECT_EQ(count[U_EMR_SELECTOBJECT], 2);  // initial font, pen
}

TEST(EmfRecorder, FreedSlotsAreReusedLowestFirst) {
    EmfRecorder emf(FixedScreenMetrics(), FigureGeometry());
    const ObjectHandle a = emf.CreatePen(1);
    const ObjectHandle b = emf.CreatePen(2);
    emf.DeleteObject(a);
    emf.CreatePen(3);
    (void)b;
    std::vector<std::uint32_t> slots;
    const auto& bytes = emf.Finish();
    for (const Record& r : Walk(bytes)) {
        if (r.type == U_EMR_CREATEPEN) {
            slots.push_back(U32(bytes, r.offset + 8));
        }
    }
    EXPECT_EQ(slots, (std::vector<std::uint32_t>{2, 3, 2}));
    EXPECT_EQ(bytes[56], 4);  // slots 0..3
}

TEST(EmfRecorder, TextIsUtf16WithSymbolCodesTranslatedAndSpacing) {
    const std::vector<std::uint8_t> emf = RecordSample(QtTextMeasurer());
    std::vector<std::u16string> texts;
    for (const Record& r : Walk(emf)) {
        if (r.type != U_EMR_EXTTEXTOUTW) {
            continue;
        }
        const std::uint32_t chars = U32(emf, r.offset + 44);
        const std::uint32_t offString = U32(emf, r.offset + 48);
        const std::uint32_t offDx = U32(emf, r.offset + 72);
        ASSERT_LE(offDx + 4 * chars, r.size);
        std::u16string text;
        int total = 0;
        for (std::uint32_t i = 0; i < chars; ++i) {
            text.push_back(static_cast<char16_t>(emf[r.offset + offString + 2 * i] |
                                                 (emf[r.offset + offString + 2 * i + 1] << 8)));
            const std::int32_t dx = I32(emf, r.offset + offDx + 4 * i);
            EXPECT_GE(dx, 0);
            total += dx;
        }
        EXPECT_GT(total, 0);
        texts.push_back(text);
    }
    EXPECT_EQ(texts, (std::vector<std::u16string>{u"Wavelenght, ", u"\u00B5", u"\u0391\u2193",
                                                  u"Transmittance"}));
}

TEST(EmfRecorder, FontFacesAreRecordedWithSymbolDrawnInArial) {
    const std::vector<std::uint8_t> emf = RecordSample();
    std::vector<std::u16string> faces;
    for (const Record& r : Walk(emf)) {
        if (r.type == U_EMR_EXTCREATEFONTINDIRECTW) {
            EXPECT_EQ(r.size, 332u);
            std::u16string face;
            for (std::size_t i = 0; i < 32; ++i) {
                const char16_t c = static_cast<char16_t>(emf[r.offset + 40 + 2 * i] |
                                                         (emf[r.offset + 41 + 2 * i] << 8));
                if (c == 0) {
                    break;
                }
                face.push_back(c);
            }
            faces.push_back(face);
        }
    }
    EXPECT_EQ(faces, (std::vector<std::u16string>{u"Arial", u"Arial", u"Arial", u"Arial"}));
}

TEST(EmfRecorder, DrawingAfterFinishIsIgnored) {
    EmfRecorder emf(FixedScreenMetrics(), FigureGeometry());
    const std::vector<std::uint8_t> first = emf.Finish();
    emf.MoveTo(1, 1);
    emf.LineTo(5, 5);
    EXPECT_EQ(emf.CreatePen(0), 0);
    EXPECT_EQ(emf.Finish(), first);
    EXPECT_EQ(emf.GetPixel(3, 3), 0xFFFFFFu);
}

std::string ToSvg(std::vector<std::uint8_t> emf) {
    generatorOptions options{};
    char nameSpace[] = "";
    options.nameSpace = nameSpace;
    options.svgDelimiter = true;
    char* out = nullptr;
    std::size_t length = 0;
    const int ok =
        emf2svg(reinterpret_cast<char*>(emf.data()), emf.size(), &out, &length, &options);
    EXPECT_NE(ok, 0);
    std::string svg = out != nullptr ? std::string(out, length) : std::string();
    std::free(out);
    return svg;
}

TEST(EmfRecorder, ConverterDrawsTheTextsAndLines) {
    const std::string svg = ToSvg(RecordSample());
    ASSERT_FALSE(svg.empty());
    EXPECT_NE(svg.find("Wavelenght"), std::string::npos);
    EXPECT_NE(svg.find("Transmittance"), std::string::npos);
    EXPECT_NE(svg.find("\xC2\xB5"), std::string::npos);              // micro sign in UTF-8
    EXPECT_NE(svg.find("\xCE\x91\xE2\x86\x93"), std::string::npos);  // alpha, down arrow
    EXPECT_NE(svg.find("Arial"), std::string::npos);
    // The red pen's lines and the blue text.
    EXPECT_NE(svg.find("#C00000"), std::string::npos) << svg.substr(0, 3000);
    EXPECT_NE(svg.find("#0000FF"), std::string::npos);
    EXPECT_NE(svg.find("rotate"), std::string::npos);  // the rising title
    // The fill covers exactly its rectangle (window and viewport agree here).
    EXPECT_NE(svg.find(R"(x="100.0000" y="100.0000" width="10.0000" height="30.0000")"),
              std::string::npos);
}

TEST(EmfRecorder, ConverterRejectsABrokenFile) {
    std::vector<std::uint8_t> emf = RecordSample();
    emf.resize(emf.size() - 20);  // no end-of-file record
    generatorOptions options{};
    char nameSpace[] = "";
    options.nameSpace = nameSpace;
    options.svgDelimiter = true;
    char* out = nullptr;
    std::size_t length = 0;
    EXPECT_EQ(emf2svg(reinterpret_cast<char*>(emf.data()), emf.size(), &out, &length, &options), 0);
    std::free(out);
}

}  // namespace
}  // namespace halvorn
