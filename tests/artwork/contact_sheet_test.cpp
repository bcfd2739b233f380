// Contact sheets for people to look at: every picture, and each layout put together from its
// background and controls, with the settings overlay's pictures over them, at 1x and 2x,
// written into the test output folder.

#include "Composition.h"
#include "PngFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Writes the sheet and says the size it came out at.
std::pair<int, int> writeSheet(cairo_surface_t* sheet, const std::string& name)
{
    const std::string path = std::string(VEXTORIA_TEST_OUTPUT) + "/" + name;
    EXPECT_EQ(cairo_surface_write_to_png(sheet, path.c_str()), CAIRO_STATUS_SUCCESS) << path;
    const std::pair<int, int> size{cairo_image_surface_get_width(sheet), cairo_image_surface_get_height(sheet)};
    cairo_surface_destroy(sheet);
    return size;
}

std::string sheetName(const std::string& kind, int scale)
{
    return kind + "-" + std::to_string(scale) + "x.png";
}

} // namespace

TEST(ContactSheet, LayoutsAreComposedFromTheirBackgroundsAndControls)
{
    for (int scale : {1, 2})
    {
        EXPECT_EQ(writeSheet(composition::composeRack(scale), sheetName("contact-rack", scale)),
                  (std::pair{860 * scale, 300 * scale}));
        EXPECT_EQ(writeSheet(composition::composeLegacy(scale), sheetName("contact-legacy", scale)),
                  (std::pair{600 * scale, 400 * scale}));
        EXPECT_EQ(writeSheet(composition::composeOverlay(true, scale), sheetName("contact-rack-settings", scale)),
                  (std::pair{860 * scale, 300 * scale}));
        EXPECT_EQ(writeSheet(composition::composeOverlay(false, scale), sheetName("contact-legacy-settings", scale)),
                  (std::pair{600 * scale, 400 * scale}));
    }
}

TEST(ContactSheet, EveryPictureIsOnTheSheetOfItsScale)
{
    for (int scale : {1, 2})
    {
        const auto [width, height] =
            writeSheet(composition::composePictureSheet(scale), sheetName("contact-pictures", scale));
        EXPECT_EQ(width, 1900 * scale);
        EXPECT_GT(height, 300 * scale); // the backgrounds alone are taller
    }
}
