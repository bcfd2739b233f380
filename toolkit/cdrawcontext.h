// Drawing on a cairo surface: colours, lines, shapes, text, bitmaps, paths, clipping and the
// transforms that nest views and apply the zoom.
#pragma once

#include "ccolor.h"
#include "cfont.h"
#include "cgraphicspath.h"
#include "cgraphicstransform.h"
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class CBitmap;

enum CDrawModeFlags : int32
{
    kAliasing = 0,
    kAntiAliasing = 1,
};

enum CDrawStyle
{
    kDrawStroked = 0,
    kDrawFilled,
    kDrawFilledAndStroked
};

enum CHoriTxtAlign
{
    kLeftText = 0,
    kCenterText,
    kRightText
};

using PointList = std::vector<CPoint>;

class CDrawContext
{
public:
    enum PathDrawMode
    {
        kPathFilled,
        kPathFilledEvenOdd,
        kPathStroked
    };

    // Applies a transform for its lifetime (in addition to the current one).
    class Transform
    {
    public:
        Transform(CDrawContext& context, const CGraphicsTransform& transform);
        ~Transform();
        Transform(const Transform&) = delete;
        Transform& operator=(const Transform&) = delete;

    private:
        CDrawContext& context;
        CGraphicsTransform previous;
    };

    // Draws on `surface` (not owned; it must outlive the context).
    explicit CDrawContext(cairo_surface_t* surface);
    ~CDrawContext();
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;

    void setDrawMode(int32 mode) { state.drawMode = mode; }
    int32 getDrawMode() const { return state.drawMode; }
    void setFillColor(const CColor& color) { state.fillColor = color; }
    CColor getFillColor() const { return state.fillColor; }
    void setFrameColor(const CColor& color) { state.frameColor = color; }
    CColor getFrameColor() const { return state.frameColor; }
    void setLineWidth(CCoord width) { state.lineWidth = width; }
    CCoord getLineWidth() const { return state.lineWidth; }
    // A size above 0 or a style of 0 or more draws with a copy of `font` changed accordingly.
    void setFont(const CFontDesc* font, CCoord size = 0, int32 style = -1);
    const CFontDesc* getFont() const { return state.font.get(); }
    void setFontColor(const CColor& color) { state.fontColor = color; }
    CColor getFontColor() const { return state.fontColor; }
    // 0..1, multiplies every colour and bitmap alpha.
    void setGlobalAlpha(float alpha);
    float getGlobalAlpha() const { return state.globalAlpha; }

    void drawRect(const CRect& rect, CDrawStyle style = kDrawStroked);
    void drawEllipse(const CRect& rect, CDrawStyle style = kDrawStroked);
    // Arc of the ellipse inside `rect`; degrees, 0 at three o'clock, clockwise; the end may
    // pass 360. Filled arcs are pie slices.
    void drawArc(const CRect& rect, float startAngle, float endAngle, CDrawStyle style = kDrawStroked);
    void drawLine(const CPoint& start, const CPoint& end);
    void drawPolygon(const PointList& points, CDrawStyle style = kDrawStroked);
    void drawString(UTF8StringPtr text, const CRect& rect, CHoriTxtAlign align = kCenterText, bool antialias = true);
    // Draws with the baseline's left end at `where`.
    void drawString(UTF8StringPtr text, const CPoint& where, bool antialias = true);
    CCoord getStringWidth(UTF8StringPtr text);
    // Draws the part of `bitmap` that starts at `offset` (1x pixels) into `dest`, clipped to it.
    // Both land on whole device pixels at any zoom, and no picture pixel outside that part is
    // sampled, so a film-strip frame never shows a row of its neighbour.
    void drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset = CPoint(0, 0), float alpha = 1.f);

    CGraphicsPath* createGraphicsPath() { return new CGraphicsPath; }
    CGraphicsPath* createRoundRectGraphicsPath(const CRect& rect, CCoord radius);
    void drawGraphicsPath(CGraphicsPath* path, PathDrawMode mode = kPathFilled, CGraphicsTransform* transform = nullptr);

    void saveGlobalState();
    void restoreGlobalState();

    // Replaces the clip with `rect` (current coordinates), rounded to whole device pixels as
    // bitmaps are; the surface bounds always clip.
    void setClipRect(const CRect& rect);
    CRect& getClipRect(CRect& clip) const;

    const CGraphicsTransform& getCurrentTransform() const { return state.transform; }
    // Device pixels per user unit: picks bitmap versions.
    double getScaleFactor() const;

    cairo_t* getCairo() const { return cr; }

private:
    struct State
    {
        int32 drawMode = kAliasing;
        CColor fillColor = kWhiteCColor;
        CColor frameColor = kBlackCColor;
        CColor fontColor = kWhiteCColor;
        CCoord lineWidth = 1;
        SharedPointer<CFontDesc> font;
        float globalAlpha = 1.f;
        CGraphicsTransform transform;
        CRect clip; // device pixels
    };

    void setTransform(const CGraphicsTransform& transform);
    void applyDrawMode();
    void setSourceColor(const CColor& color);
    void finishShape(CDrawStyle style);
    void showText(UTF8StringPtr text, const CRect* rect, CHoriTxtAlign align, const CPoint* baseline, bool antialias);

    cairo_t* cr;
    CRect surfaceBounds;
    State state;
    std::vector<State> savedStates;
};

} // namespace VSTGUI
