// Widgets drawn at zoom 1 and 2 into contact sheets checked by per-widget pixel probes; film strips.
#include "controls/FilmStrip.h"
#include "widget_test_support.h"
#include <climits>
#include <filesystem>
#include <stdexcept>

using namespace VSTGUI;
using namespace WidgetTest;
using ToolkitTest::near;

namespace {

// Kind, corner, value and probes "x y expected" (frame N, clear, solid, colour, alpha A, near ...; not, 2x).
struct Placed
{
    const char* kind;
    CCoord x, y;
    float value;
    const char* probes;
};

const Placed kSheet[] = {
    {"3-frame toggle", 10, 10, 0, "2 10 frame 0; 14 10 frame 0; 20 10 frame 0; 26 10 frame 0; 38 10 frame 0"},
    {"knob", 70, 80, 1, "10 10 frame 126"},
    {"handle fader", 100, 80, 0.5f, "55 10 red; 45 10 clear"},
    {"vector knob", 120, 110, 0.5f, "3 50 near 0 128 0 255 10; 50 97 clear; 50 7 near 0 128 0 255 10; " // arc to 270
                                    "58 7 not near 0 128 0 255 60"}, // pointer 265..275 degrees
    {"bar slider", 230, 220, 0.999f, "3 17 near 0 143 214 254 3; 90 17 solid"},
    {"mini slider", 10, 250, 0.5f, "53 5 near 196 196 196 255 3; 20 5 not near 196 196 196 255 3; "
                                  "2x 50 5 near 127 127 127 255 40"},
    {"picture slider", 250, 245, 0.5f, "55 10 blue; 20 10 clear"},
    {"strip spin box", 10, 275, 0, "20 10 frame 0"},
    {"strip spin box", 160, 275, 1, "20 10 frame 12"},
    {"strip spin box from 3", 210, 275, 4 / 9.f, "20 10 frame 4"}, // 7 of 3..12
    {"text strip spin box", 260, 275, 1, ""},
    {"spin box", 10, 305, 0.5f, "41 7 near 127 127 127 255 3"},   // the up triangle
    {"disabled spin box", 70, 305, 0.5f, "41 7 white"},           // no triangles
    {"label", 10, 345, 0, "2 2 green; 49 18 green; 58 10 near 0 255 0 255 80; 58 1 clear; 58 18 clear; 52 1 clear"},
    {"keyboard", 10, 375, 0.6875f, "75 35 red; 5 35 white"}, // note 48 pressed in
    {"fader", 430, 10, 1, "10 100 frame 99"},
    {"strip switch", 460, 10, 1, "15 20 frame 1"},
    {"horizontal switch", 500, 10, 1, "75 10 near 127 127 127 255 0; 15 10 alpha 64"}, // segment, groove
    {"handle switch", 600, 10, 0.5f, "10 15 blue; 10 5 red"}, // no background: red
    // Menu outline T+0.5..T+63.5; row 1 lit from T+22, row 2 checked at (L+4, T+44)..(L+16, T+56).
    {"menu", 460, 60, 0, "2x 50 0.2 clear; 50 62.5 solid; 50 64.5 clear; 95 30 near 0 143 214 254 3; "
                         "95 15 not near 0 143 214 254 30; 10 50 green; 15 55 green; 10 10 not green"},
    {"3-item list", 460, 150, 0, "85 50 near 0 128 200 255 60; 85 30 not near 0 128 200 255 60; "
                                 "85 70 not near 0 128 200 255 60; 80 5 alpha 191"}, // opened, translucent, row 2 lit
    {"0-item list", 200, 20, 0, "80 5 alpha 255"}, // folded: opaque
    {"1-item list", 310, 20, 0, ""},               // its item named "Empty"
    {"display: 99%", 380, 285, 0, ""},
    {"red display: TEMPO", 380, 375, 0, ""},
};

// Where the widget of `kind` (at `x`, when there are several) is in the sheet.
size_t placed(const std::string& kind, CCoord x = -1)
{
    for (size_t i = 0; i < std::size(kSheet); ++i)
        if (kSheet[i].kind == kind && (x < 0 || kSheet[i].x == x))
            return i;
    throw std::invalid_argument(kind);
}

// Whether `pixel` is what `expected` says (see Placed).
bool shows(const CColor& pixel, std::istringstream& expected)
{
    std::string word;
    expected >> word;
    if (word == "not")
        return !shows(pixel, expected);
    int a = 0, b = 0, c = 0, d = 0, tolerance = 0;
    if (word == "frame")
        return expected >> a && frameIndexOf(pixel) == a;
    if (word == "alpha")
        return expected >> a && std::abs(pixel.alpha - a) <= 2;
    if (word == "near")
        return expected >> a >> b >> c >> d >> tolerance && near(pixel, CColor(a, b, c, d), tolerance);
    const std::pair<const char*, bool> named[] = {
        {"clear", pixel.alpha == 0}, {"solid", pixel.alpha > 100}, {"red", pixel == kRedCColor},
        {"green", pixel == kGreenCColor}, {"blue", pixel == kBlueCColor}, {"white", pixel == kWhiteCColor}};
    for (const auto& [name, holds] : named)
        if (word == name)
            return holds;
    ADD_FAILURE() << "unknown expectation " << word;
    return false;
}

// Draws one frame of a strip with frames 10 rows high into its whole rectangle.
struct FrameView : CView
{
    FrameView(const CRect& size, CBitmap* strip, int32 index) : CView(size), strip(strip), index(index) {}
    void draw(CDrawContext* context) override { FilmStrip::drawFrame(context, strip, getViewSize(), 10, index); }
    CBitmap* strip;
    int32 index;
};

} // namespace

TEST(ContactSheet, EveryWidgetInItsMainStatesAtBothZooms)
{
    Scene sheet;
    sheet.frame->setSize(640, 430);
    sheet.frame->setBackgroundColor(kTransparentCColor);
    std::vector<CView*> views;
    for (const Placed& each : kSheet)
    {
        views.push_back(sheet.make(each.kind, CPoint(each.x, each.y)));
        if (each.value != 0)
            setValueOf(views.back(), each.value);
    }
    static_cast<Menu*>(views[placed("menu")])->getItem(2)->checked = true;
    static_cast<DropDown2*>(views[placed("1-item list")])->items[0]->name = "Empty";
    sheet.play(views[placed("3-item list")], "click 510 160; move 510 195 none; move 510 85 none"); // opens the list, lights its
                                                                              // second row and the menu's
    for (int zoom : {1, 2})
    {
        SCOPED_TRACE(testing::Message() << "zoom " << zoom);
        const OffscreenImage image = renderView(*sheet.frame, zoom);
        ASSERT_TRUE(image.writePng((std::filesystem::path(VEXTORIA_TEST_OUTPUT) /
                                    ("widget-contact-sheet-" + std::to_string(zoom) + "x.png")).string()));
        // The pixel at (x, y) within view i and the ink within it.
        auto at = [&](size_t i, double x, double y) {
            return image.getPixel(int((kSheet[i].x + x) * zoom), int((kSheet[i].y + y) * zoom));
        };
        auto inkIn = [&](size_t i, auto test) {
            CRect area = views[i]->getViewSize();
            return inkWhere(image, test, area.scale(zoom));
        };

        for (size_t i = 0; i < views.size(); ++i)
        {
            std::istringstream probes(kSheet[i].probes);
            for (std::string probe; std::getline(probes, probe, ';');)
            {
                const size_t zoomTwoOnly = probe.find("2x");
                if (zoomTwoOnly != std::string::npos && zoom != 2)
                    continue;
                std::istringstream words(zoomTwoOnly == std::string::npos ? probe : probe.substr(zoomTwoOnly + 2));
                double x = 0, y = 0;
                words >> x >> y;
                EXPECT_TRUE(shows(at(i, x, y), words)) << kSheet[i].kind << ": " << probe << " shows " << testing::PrintToString(at(i, x, y));
            }
        }

        // The text spin box's red number.
        EXPECT_GT(inkIn(placed("text strip spin box"), [](const CColor& c) { return c.green < 60 && c.red > 200; }).count, 5);

        EXPECT_EQ(static_cast<Knob2*>(views[placed("vector knob", 120)])->valueText, "50%");

        // An empty list reads "Empty"; the menu's rows read from L+20.
        auto orange = [](const CColor& c) { return c.red > 150 && c.blue < 100; };
        EXPECT_EQ(inkIn(placed("0-item list"), orange).count, inkIn(placed("1-item list"), orange).count);
        const Placed& menu = kSheet[placed("menu")];
        const Ink firstRow = inkWhere(image, [](const CColor& c) { return c.blue > c.red + 60; },
                                      CRect(menu.x, menu.y + 2, menu.x + 100, menu.y + 22).scale(zoom));
        EXPECT_NEAR(firstRow.first / zoom - menu.x, 21, 1);

        // Read-outs: centred 6 px right, at the view's alpha; the bar slider's text as wide as "99%".
        const size_t centre = placed("display: 99%"), bar = placed("bar slider");
        const Ink centred = inkIn(centre, opaque);
        EXPECT_NEAR((centred.first + centred.last) / 2.0 / zoom - kSheet[centre].x, 106, 3);
        for (auto [i, alpha] : {std::pair{centre, 255}, {centre + 1, 204}})
        {
            int mostOpaque = 0;
            inkIn(i, [&](const CColor& c) { return c.red > 250 && (mostOpaque = std::max(mostOpaque, int(c.alpha))); });
            EXPECT_NEAR(mostOpaque, alpha, 3) << kSheet[i].kind;
        }
        const Ink barText = inkIn(bar, [](const CColor& c) { return c.red > 100; });
        const Ink readOut = inkIn(centre, [](const CColor& c) { return c.alpha > 100; });
        EXPECT_EQ(std::pair(barText.last - barText.first, barText.top + barText.bottom - 2 * zoom * kSheet[bar].y),
                  std::pair(readOut.last - readOut.first, readOut.top + readOut.bottom - 2 * zoom * (kSheet[centre].y + 11)));
    }
}

// At full scale the last frame lies furthest past a picture that is too short for its strip.
TEST(BrokenStrips, WidgetsDrawNothingFromThemAtAnyZoom)
{
    for (const char* file : {"missing.png", "short.png"})
        for (const char* kind : {"3-frame toggle", "knob", "fader", "strip spin box", "strip spin box from 13",
                                 "keyboard"})
        {
            SCOPED_TRACE(std::string(kind) + " with " + file);
            Scene scene;
            scene.folder.writeBands("short.png", 20, 1, {kRedCColor});
            scene.brokenPicture = file;
            CView* view = scene.make(kind);
            setValueOf(view, 1.f);
            for (double zoom : {1.0, 2.0})
                EXPECT_TRUE(blank(renderView(*view, zoom))) << zoom;
        }
}

// A frame draws only its own rows at every zoom; indices past either end draw nothing.
TEST(FilmStripFrames, ShowTheirOwnRowsOrNothingAtEveryZoom)
{
    ToolkitTest::ResourceFolder folder;
    constexpr int frames = 5;
    // Five frames of 10 rows in bands of 5, and half a sixth frame's rows below them.
    CBitmap* strip = numberedStrip(folder, "strip.png", 10, 5, 2 * frames + 1, 2);
    for (int32 badCount : {0, -1})
        EXPECT_EQ(FilmStrip::frameHeight(strip, badCount), 0) << badCount;
    EXPECT_EQ(FilmStrip::frameHeight(nullptr, frames), 0);
    for (int32 index : {2, frames - 1, frames, -1, INT_MAX}) // decoded to frame 2, then further
    {
        CViewContainer container(CRect(0, 0, 20, 24));
        container.setTransparency(true);
        container.addView(new FrameView(CRect(3, 5, 13, 19), strip, index));
        const bool exists = index >= 0 && index < frames;
        for (double zoom : {0.75, 1.0, 1.5, 2.0})
        {
            SCOPED_TRACE(testing::Message() << "frame " << index << " at zoom " << zoom);
            const OffscreenImage image = renderView(container, zoom);
            const int own = inkWhere(image, [index](const CColor& pixel) {
                                return opaque(pixel) && frameIndexOf(pixel) == index;
                            }).count;
            EXPECT_EQ(own, inkWhere(image, opaque).count);
            auto whole = [zoom](double coordinate) { return int(std::floor(coordinate * zoom + 0.5)); };
            EXPECT_EQ(own, exists ? (whole(15) - whole(5)) * (whole(13) - whole(3)) : 0);
        }
    }
    strip->forget();
}
