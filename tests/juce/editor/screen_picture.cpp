#include "editor/screen_picture.h"

#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <unordered_set>

namespace probe::testing {

ScreenPicture::ScreenPicture(int width, int height)
    : pictureWidth(std::max(0, width)), pictureHeight(std::max(0, height)),
      pixels(static_cast<size_t>(pictureWidth) * static_cast<size_t>(pictureHeight))
{
}

PixelArea ScreenPicture::clipped(PixelArea area) const
{
    return {std::clamp(area.left, 0, pictureWidth), std::clamp(area.top, 0, pictureHeight),
            std::clamp(area.right, 0, pictureWidth), std::clamp(area.bottom, 0, pictureHeight)};
}

size_t ScreenPicture::colourCount(PixelArea area) const
{
    area = clipped(area);
    std::unordered_set<uint32_t> colours;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            colours.insert(at(x, y));
    return colours.size();
}

double ScreenPicture::meanBrightness(PixelArea area) const
{
    area = clipped(area);
    double sum = 0.0;
    size_t count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x, ++count) {
            const uint32_t rgb = at(x, y);
            sum += ((rgb >> 16) & 0xff) + ((rgb >> 8) & 0xff) + (rgb & 0xff);
        }
    return count == 0 ? 0.0 : sum / (3.0 * static_cast<double>(count));
}

double ScreenPicture::changedShare(const ScreenPicture& other, PixelArea area) const
{
    if (other.width() != width() || other.height() != height())
        return 1.0;
    area = clipped(area);
    size_t changed = 0, count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x, ++count)
            changed += at(x, y) != other.at(x, y) ? 1 : 0;
    return count == 0 ? 0.0 : static_cast<double>(changed) / static_cast<double>(count);
}

bool ScreenPicture::savePng(const std::string& path) const
{
    if (pictureWidth == 0 || pictureHeight == 0)
        return false;
    juce::Image image(juce::Image::RGB, pictureWidth, pictureHeight, false);
    for (int y = 0; y < pictureHeight; ++y)
        for (int x = 0; x < pictureWidth; ++x)
            image.setPixelAt(x, y, juce::Colour(0xff000000u | at(x, y)));
    juce::File file(path);
    file.deleteFile();
    juce::FileOutputStream stream(file);
    return stream.openedOk() && juce::PNGImageFormat().writeImageToStream(image, stream);
}

}  // namespace probe::testing
