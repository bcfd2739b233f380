#pragma once
// A screenshot of one window: 8-bit RGB pixels, row by row, and the measures the tests ask of it.

#include <cstdint>
#include <string>
#include <vector>

namespace probe::testing {

struct PixelArea {
    int left = 0, top = 0, right = 0, bottom = 0;  // pixels, right and bottom excluded
};

class ScreenPicture {
public:
    ScreenPicture(int width, int height);

    int width() const { return pictureWidth; }
    int height() const { return pictureHeight; }
    void set(int x, int y, uint32_t rgb) { pixels[static_cast<size_t>(y * pictureWidth + x)] = rgb; }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y * pictureWidth + x)]; }

    // How many different colours the area holds (clipped to the picture).
    size_t colourCount(PixelArea area) const;
    // Mean of (R + G + B) / 3 over the area, 0..255.
    double meanBrightness(PixelArea area) const;
    // Share of the area's pixels that differ from the other picture's, 0..1 (1 when the sizes differ).
    double changedShare(const ScreenPicture& other, PixelArea area) const;
    PixelArea whole() const { return {0, 0, pictureWidth, pictureHeight}; }

    // Writes a PNG file for a person to look at; false when it cannot.
    bool savePng(const std::string& path) const;

private:
    PixelArea clipped(PixelArea area) const;

    int pictureWidth, pictureHeight;  // pixels
    std::vector<uint32_t> pixels;     // 0xRRGGBB
};

}  // namespace probe::testing
