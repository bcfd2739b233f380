// The slice pads: what a press, a drag and every end of the press send to the processor, how
// MIDI keys light the pads, and the pads drawn at each count.
#include "EditorHarness.h"

#include "dsp/MidiEventRing.h"
#include "editor/MidiSlicerView.h"

#include <functional>

using namespace EditorTest;

namespace {

// RACK's scope rectangle: 536 px, 67 px a pad at 8 pads.
const CRect kPads(236, 18, 772, 174);
constexpr CCoord kPadWidth = 67;
CCoord padX(int pad) { return kPads.left + pad * kPadWidth + 10; }
constexpr CCoord kPadY = 90;

class SlicePadsTest : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        pads = add(new MidiSlicerView(kPads, editor));
        editor->slicePads = pads;
    }
    MidiSlicerView* pads = nullptr;
};

} // namespace

TEST_F(SlicePadsTest, PressDragAndReleaseSendTheChosenSlicesThenGiveItBack)
{
    press(padX(2), kPadY);
    for (CCoord x = padX(2); x <= kPads.right + 80; x += 5)
        move(x, kPadY);
    EXPECT_EQ(pads->highlightedSlice, 7) << "beyond the end the last pad holds";
    release(kPads.right + 80, kPadY);
    EXPECT_EQ(processor.slices(), (std::vector<int64>{2, 3, 4, 5, 6, 7, -1}));
    EXPECT_EQ(pads->highlightedSlice, -1);
    EXPECT_EQ(processor.received[0].id, "IntMessage");

    processor.received.clear();
    click(padX(1), kPadY, kRButton);
    click(padX(1), kPadY, kLButton | kRButton);
    EXPECT_EQ(processor.slices(), (std::vector<int64>{-1, -1})) << "no choice, but each release gives back";
    EXPECT_TRUE(host.edits.empty()) << "the pads open no host gesture";
}

TEST_F(SlicePadsTest, EveryWayAPressEndsGivesTheSliceBackOnce)
{
    // Each ending says whether the window is still there for a late release.
    const std::vector<std::pair<const char*, std::function<bool()>>> endings = {
        {"release", [&] { release(padX(4), kPadY); return true; }},
        {"cancel", [&] { frame->platformOnMouseCancel(); return true; }},
        {"removal", [&] { frame->removeView(pads); pads = nullptr; return true; }},
        {"editor close", [&] { editor->close(); return false; }},
    };
    for (const auto& [name, end] : endings) {
        SCOPED_TRACE(name);
        processor.received.clear();
        if (!pads)
            editor->slicePads = pads = add(new MidiSlicerView(kPads, editor));
        press(padX(4), kPadY);
        if (end())
            release(padX(4), kPadY); // a release after the end sends nothing more
        EXPECT_EQ(processor.slices(), (std::vector<int64>{4, -1}));
    }
}

TEST_F(SlicePadsTest, MidiKeysLightThePadsAndCountChangesKeepThePlace)
{
    auto notes = [&](std::vector<std::pair<int32_t, int32_t>> typeAndKey) {
        std::vector<MidiNoteRecord> records;
        for (auto [type, key] : typeAndKey)
            records.push_back(MidiNoteRecord {type, key, 0, 100});
        editor->processMidiNoteFromhost(records.data(), int32_t(records.size()));
        return pads->highlightedSlice;
    };
    EXPECT_EQ(notes({{1, 60}, {1, 64}, {2, 64}}), 0) << "back to the key still held";
    EXPECT_EQ(notes({{2, 60}}), -1);
    EXPECT_EQ(notes({{1, 45}}), 1);
    EXPECT_EQ(notes({{1, 35}}), -1) << "keys below the first pad light none";
    EXPECT_EQ(notes({{3, 50}, {1, 36}}), 0) << "other records are skipped";

    for (auto [lit, value, count, stays] : {std::tuple{3, 1.f, 16, 6}, {7, 0.f, 4, 1}, {1, 1.5f, 4, 1}}) {
        pads->highLightSlice(lit);
        pads->setNbSlice2(value); // 1.5: no such count, nothing changes
        EXPECT_EQ(pads->nbSlice, count);
        EXPECT_EQ(pads->highlightedSlice, stays);
    }
}

TEST(SlicePadsDrawing, LitPadStandsOutAtEachCount)
{
    for (auto [value, count] : {std::pair{0.f, 4}, {0.5f, 8}, {1.f, 16}}) {
        MidiSlicerView pads(CRect(0, 0, 536, 156), nullptr);
        pads.smallFontSize = 14;
        pads.setNbSlice2(value);
        pads.highLightSlice(1);
        std::vector<OffscreenImage> images = renderToPng(pads, "slice_pads_" + std::to_string(count));
        for (int zoom : {1, 2}) {
            const OffscreenImage& image = images[size_t(zoom - 1)];
            const double width = 536.0 / count * zoom;
            const int y = 78 * zoom;
            const CColor lit = image.getPixel(int(width), y); // left frame of pad 2
            const CColor dim = image.getPixel(int(3 * width), y); // between two unlit pads
            EXPECT_GT(lit.alpha, dim.alpha + 40) << count << " pads at zoom " << zoom;
            EXPECT_EQ(image.getPixel(int(width * 2.5), 4 * zoom).alpha, 156) << "the dimmed ground";
        }
    }
}
