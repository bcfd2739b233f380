// Pictures in three scales, found through the bundle module's own path.
#include "artwork/PictureNames.h"
#include "editor/MyBitmap.h"
#include "editor/ResourceFolder.h"
#include "toolkit/toolkit_test_support.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

using namespace VSTGUI;

TEST(BundlePictures, EveryPictureLoadsInItsScalesFromTheModulesResourceFolder)
{
    void* module = dlopen(VEXTORIA_BUNDLE_PATH "/Contents/x86_64-linux/Vextoria3.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    const std::string folder = ResourceFolder::ofModuleContaining(dlsym(module, "GetPluginFactory"));
    EXPECT_EQ(folder, std::filesystem::canonical(VEXTORIA_BUNDLE_PATH).string() + "/Contents/Resources");
    EXPECT_EQ(ResourceFolder::ofModuleContaining(&folder), "") << "a stack address lies in no module";
    dlclose(module);
    setResourceFolderFunction([folder] { return folder; });

    auto* knob = MyBitmap::fromLayout("vxp_knob_gate");
    EXPECT_EQ(knob->getSize(), CPoint(54, 6858));
    EXPECT_EQ(knob->getBestPlatformBitmapForScaleFactor(2.0)->getScaleFactor(), 2.0);
    knob->forget();
    for (const auto& set : picture_names::allSets()) {
        auto* bitmap = new MyBitmap(set[0].name.c_str());
        EXPECT_GT(bitmap->getWidth(), 0) << set[0].name;
        for (size_t i = 1; i < set.size(); ++i) {
            EXPECT_TRUE(bitmap->addScaledBitmap(set[i].name.c_str())) << set[i].name;
            EXPECT_EQ(bitmap->getBestPlatformBitmapForScaleFactor(set[i].scale)->getScaleFactor(), set[i].scale);
        }
        bitmap->forget();
    }
    setResourceFolderFunction({});
}

TEST(ScaledPictures, ScaleComesFromTheWidthAndAMissingBaseTakesNone)
{
    ToolkitTest::ResourceFolder folder;
    folder.writeBands("a.png", 10, 20, {kRedCColor});
    folder.writeBands("a_x2.png", 15, 30, {kRedCColor}); // only 1.5 times as wide
    MyBitmap picture("a.png");
    EXPECT_TRUE(picture.addScaledBitmap("a_x2.png"));
    EXPECT_EQ(picture.getBestPlatformBitmapForScaleFactor(2.0)->getScaleFactor(), 1.5);
    EXPECT_FALSE(picture.addScaledBitmap("missing.png"));

    MyBitmap missing("gone.png");
    EXPECT_FALSE(missing.addScaledBitmap("a_x2.png")) << "no 1x width to divide by";
    EXPECT_EQ(missing.getPlatformBitmap(), nullptr);
}
