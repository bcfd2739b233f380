// Rectangles, points, transforms and view tree bookkeeping.
#include "toolkit_test_support.h"
#include <gtest/gtest.h>

using namespace VSTGUI;

TEST(Geometry, RectanglesIncludeLeftTopAndExcludeRightBottom)
{
    CRect r(10, 20, 30, 40);
    EXPECT_TRUE(r.pointInside(CPoint(10, 20)));
    EXPECT_TRUE(r.pointInside(CPoint(29.9, 39.9)));
    EXPECT_FALSE(r.pointInside(CPoint(30, 25)));
    EXPECT_FALSE(r.pointInside(CPoint(15, 40)));
    EXPECT_EQ(CRect(r).inset(2, 8), CRect(12, 28, 28, 32));
    EXPECT_EQ(CRect(CPoint(1, 2), CPoint(3, 4)), CRect(1, 2, 4, 6)); // origin and size
}

TEST(Geometry, BoundUniteAndOverlapTreatEmptyAndTouchingRectangles)
{
    CRect a(0, 0, 10, 10);
    EXPECT_EQ(CRect(5, 5, 20, 20).bound(a), CRect(5, 5, 10, 10));
    EXPECT_TRUE(CRect(20, 20, 30, 30).bound(a).isEmpty());
    EXPECT_EQ(CRect(a).unite(CRect(20, 5, 30, 15)), CRect(0, 0, 30, 15));
    EXPECT_EQ(CRect().unite(a), a); // an empty rectangle adds nothing
    EXPECT_TRUE(a.rectOverlap(CRect(9, 9, 12, 12)));
    EXPECT_FALSE(a.rectOverlap(CRect(10, 0, 12, 12))); // touching edges do not overlap
}

TEST(Geometry, TransformsComposeAndInvert)
{
    CGraphicsTransform zoomThenMove = CGraphicsTransform().scale(2, 2).translate(10, 0);
    EXPECT_EQ(zoomThenMove.transform(CPoint(1, 1)), CPoint(12, 2));
    EXPECT_EQ(zoomThenMove.inverse().transform(CPoint(12, 2)), CPoint(1, 1));
    CGraphicsTransform nested = CGraphicsTransform().translate(5, 5).concat(zoomThenMove);
    EXPECT_EQ(nested.transform(CPoint(0, 0)), CPoint(20, 10));
    EXPECT_EQ(nested.transform(CRect(0, 0, 1, 1)), CRect(20, 10, 22, 12));
}

TEST(ViewTree, ContainersOwnChildrenAndRefuseBadAdds)
{
    auto* root = new CViewContainer(CRect(0, 0, 100, 100));
    auto* panel = new CViewContainer(CRect(10, 10, 50, 50));
    auto* a = new CView(CRect(0, 0, 5, 5));
    auto* b = new CView(CRect(5, 5, 10, 10));
    EXPECT_TRUE(panel->addView(a));
    EXPECT_TRUE(panel->addView(b, a)); // below a
    EXPECT_FALSE(panel->addView(a));   // already a child
    EXPECT_FALSE(root->addView(nullptr));
    EXPECT_FALSE(root->addView(root));
    EXPECT_TRUE(root->addView(panel));
    std::vector<CView*> visited;
    panel->forEachChild([&](CView* child) { visited.push_back(child); });
    EXPECT_EQ(visited, (std::vector<CView*>{b, a}));
    EXPECT_EQ(a->getParentView(), panel);
    EXPECT_EQ(a->localToFrame(CPoint(1, 1)), CPoint(11, 11));
    EXPECT_EQ(a->frameToLocal(CPoint(11, 11)), CPoint(1, 1));

    b->remember();
    EXPECT_TRUE(panel->removeView(b, false)); // handed back, still alive
    EXPECT_FALSE(b->isAttached());
    EXPECT_FALSE(panel->removeView(b));
    b->forget();
    b->forget();
    root->forget(); // takes panel and a with it (checked by the sanitizer's leak report)
}

TEST(ViewTree, ViewSizeMovesTheMouseableAreaAlongAndAlphaStaysInRange)
{
    CView view(CRect(0, 0, 10, 10));
    view.setViewSize(CRect(20, 20, 40, 40));
    EXPECT_EQ(view.getMouseableArea(), CRect(20, 20, 40, 40));
    view.setMouseableArea(CRect(20, 20, 25, 25));
    view.setViewSize(CRect(30, 30, 50, 50));
    EXPECT_EQ(view.getMouseableArea(), CRect(30, 30, 35, 35));
    view.setAlphaValue(2.f);
    EXPECT_EQ(view.getAlphaValue(), 1.f);
    view.setAlphaValue(std::nanf(""));
    EXPECT_EQ(view.getAlphaValue(), 1.f);
}
