#include "cdrawcontext.h"

#include "cbitmap.h"
#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <pango/pangocairo.h>

namespace VSTGUI {

CDrawContext::Transform::Transform(CDrawContext& drawContext, const CGraphicsTransform& transform)
    : context(drawContext), previous(drawContext.state.transform)
{
    context.setTransform(transform.concat(previous));
}

CDrawContext::Transform::~Transform() { context.setTransform(previous); }

CDrawContext::CDrawContext(cairo_surface_t* surface) : cr(cairo_create(surface))
{
    double width = 0, height = 0;
    if (cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE)
    {
        width = cairo_image_surface_get_width(surface);
        height = cairo_image_surface_get_height(surface);
    }
    else
    {
        double x1, y1;
        cairo_clip_extents(cr, &x1, &y1, &width, &height);
    }
    surfaceBounds = CRect(0, 0, width, height);
    state.font = kSystemFont;
    state.clip = surfaceBounds;
}

CDrawContext::~CDrawContext() { cairo_destroy(cr); }

void CDrawContext::setFont(const CFontDesc* font, CCoord size, int32 style)
{
    if (!font)
        return;
    if (size <= 0 && style < 0)
    {
        state.font = const_cast<CFontDesc*>(font);
        return;
    }
    auto* copy = new CFontDesc(font->getName().c_str(), size > 0 ? size : font->getSize(),
                               style >= 0 ? style : font->getStyle());
    state.font = SharedPointer<CFontDesc>::adopt(copy);
}

void CDrawContext::setGlobalAlpha(float alpha)
{
    state.globalAlpha = std::isfinite(alpha) ? std::clamp(alpha, 0.f, 1.f) : state.globalAlpha;
}

void CDrawContext::setTransform(const CGraphicsTransform& t)
{
    state.transform = t;
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, t.m11, t.m21, t.m12, t.m22, t.dx, t.dy);
    cairo_set_matrix(cr, &matrix);
}

void CDrawContext::applyDrawMode()
{
    cairo_set_antialias(cr, (state.drawMode & kAntiAliasing) ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr, state.lineWidth);
}

void CDrawContext::setSourceColor(const CColor& c)
{
    cairo_set_source_rgba(cr, c.getNormRed(), c.getNormGreen(), c.getNormBlue(), c.getNormAlpha() * state.globalAlpha);
}

void CDrawContext::finishShape(CDrawStyle style)
{
    applyDrawMode();
    if (style != kDrawStroked)
    {
        setSourceColor(state.fillColor);
        if (style == kDrawFilledAndStroked)
            cairo_fill_preserve(cr);
        else
            cairo_fill(cr);
    }
    if (style != kDrawFilled)
    {
        setSourceColor(state.frameColor);
        cairo_stroke(cr);
    }
}

void CDrawContext::drawRect(const CRect& rect, CDrawStyle style)
{
    cairo_new_path(cr);
    cairo_rectangle(cr, rect.left, rect.top, rect.getWidth(), rect.getHeight());
    finishShape(style);
}

void CDrawContext::drawEllipse(const CRect& rect, CDrawStyle style)
{
    CGraphicsPath path;
    path.addEllipse(rect);
    cairo_new_path(cr);
    path.appendTo(cr);
    finishShape(style);
}

void CDrawContext::drawArc(const CRect& rect, float startAngle, float endAngle, CDrawStyle style)
{
    CGraphicsPath path;
    if (style != kDrawStroked)
        path.beginSubpath(rect.getCenter());
    path.addArc(rect, startAngle, endAngle, true);
    if (style != kDrawStroked)
        path.closeSubpath();
    cairo_new_path(cr);
    path.appendTo(cr);
    finishShape(style);
}

void CDrawContext::drawLine(const CPoint& start, const CPoint& end)
{
    cairo_new_path(cr);
    cairo_move_to(cr, start.x, start.y);
    cairo_line_to(cr, end.x, end.y);
    finishShape(kDrawStroked);
}

void CDrawContext::drawPolygon(const PointList& points, CDrawStyle style)
{
    if (points.size() < 2)
        return;
    cairo_new_path(cr);
    cairo_move_to(cr, points.front().x, points.front().y);
    for (size_t i = 1; i < points.size(); ++i)
        cairo_line_to(cr, points[i].x, points[i].y);
    if (style != kDrawStroked)
        cairo_close_path(cr);
    finishShape(style);
}

CGraphicsPath* CDrawContext::createRoundRectGraphicsPath(const CRect& rect, CCoord radius)
{
    auto* path = new CGraphicsPath;
    path->addRoundRect(rect, radius);
    return path;
}

void CDrawContext::drawGraphicsPath(CGraphicsPath* path, PathDrawMode mode, CGraphicsTransform* transform)
{
    if (!path)
        return;
    cairo_save(cr);
    if (transform)
    {
        cairo_matrix_t matrix;
        cairo_matrix_init(&matrix, transform->m11, transform->m21, transform->m12, transform->m22, transform->dx,
                          transform->dy);
        cairo_transform(cr, &matrix);
    }
    cairo_new_path(cr);
    path->appendTo(cr);
    cairo_restore(cr); // the path stays in device space; the line width uses the plain transform
    cairo_set_fill_rule(cr, mode == kPathFilledEvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    finishShape(mode == kPathStroked ? kDrawStroked : kDrawFilled);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

namespace {

// A pango layout for `text` in `font`, scaled linearly with the transform (no hinting), so
// zoomed text keeps its proportions.
PangoLayout* makeLayout(cairo_t* cr, const CFontDesc* font, UTF8StringPtr text, bool antialias)
{
    PangoLayout* layout = pango_cairo_create_layout(cr);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
    cairo_font_options_destroy(options);
    pango_layout_context_changed(layout);
    pango_layout_set_font_description(layout, font->getPlatformFont());
    pango_layout_set_text(layout, text, -1);
    return layout;
}

} // namespace

void CDrawContext::showText(UTF8StringPtr text, const CRect* rect, CHoriTxtAlign align, const CPoint* baseline,
                            bool antialias)
{
    if (!text || !*text)
        return;
    PangoLayout* layout = makeLayout(cr, state.font.get(), text, antialias);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    double width = double(logical.width) / PANGO_SCALE;
    double height = double(logical.height) / PANGO_SCALE;
    double x, y;
    if (rect)
    {
        x = align == kLeftText ? rect->left
            : align == kRightText ? rect->right - width
                                  : rect->left + (rect->getWidth() - width) / 2;
        y = rect->top + (rect->getHeight() - height) / 2;
        x -= double(logical.x) / PANGO_SCALE;
        y -= double(logical.y) / PANGO_SCALE;
    }
    else
    {
        x = baseline->x;
        y = baseline->y - double(pango_layout_get_baseline(layout)) / PANGO_SCALE;
    }
    setSourceColor(state.fontColor);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    cairo_new_path(cr);
    g_object_unref(layout);
}

void CDrawContext::drawString(UTF8StringPtr text, const CRect& rect, CHoriTxtAlign align, bool antialias)
{
    showText(text, &rect, align, nullptr, antialias);
}

void CDrawContext::drawString(UTF8StringPtr text, const CPoint& where, bool antialias)
{
    showText(text, nullptr, kLeftText, &where, antialias);
}

CCoord CDrawContext::getStringWidth(UTF8StringPtr text)
{
    if (!text || !*text)
        return 0;
    PangoLayout* layout = makeLayout(cr, state.font.get(), text, true);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    return double(logical.width) / PANGO_SCALE;
}

namespace {

// The nearest whole device pixel, halves upwards, so that edges which meet in layout
// coordinates also meet on the screen, whatever the zoom.
double snap(double coordinate) { return std::floor(coordinate + 0.5); }

CRect snapped(const CRect& rect) { return CRect(snap(rect.left), snap(rect.top), snap(rect.right), snap(rect.bottom)); }

// The rows and columns of `surface` inside `pixels`, sampled as if they were the whole picture:
// scaling pads with their own edge instead of reaching into the neighbouring frame.
cairo_pattern_t* createPatternFor(cairo_surface_t* surface, const CRect& pixels)
{
    cairo_surface_t* part =
        cairo_surface_create_for_rectangle(surface, pixels.left, pixels.top, pixels.getWidth(), pixels.getHeight());
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(part);
    cairo_surface_destroy(part);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    return pattern;
}

} // namespace

void CDrawContext::drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset, float alpha)
{
    if (!bitmap)
        return;
    // The part of `dest` that the picture reaches; the rest stays as it is.
    CRect shown(dest.left - offset.x, dest.top - offset.y, dest.left - offset.x + bitmap->getWidth(),
                dest.top - offset.y + bitmap->getHeight());
    shown.bound(dest);
    CRect source = shown;
    source.offset(offset.x - dest.left, offset.y - dest.top);
    // Only the version drawn, down to the lowest row drawn, gets decoded.
    IPlatformBitmap* platformBitmap =
        shown.isEmpty() ? nullptr : bitmap->getDecodedPlatformBitmap(getScaleFactor(), source.bottom);
    if (!platformBitmap)
        return;
    source = snapped(source.scale(platformBitmap->getScaleFactor()));
    const CPoint pixels = platformBitmap->getSize();
    source.bound(CRect(0, 0, pixels.x, pixels.y));
    // The view tree only translates and scales, so the destination stays a rectangle on screen.
    const CRect device = snapped(state.transform.transform(shown));
    cairo_surface_t* decoded = platformBitmap->getSurface(source.bottom);
    if (!decoded || source.isEmpty() || device.isEmpty())
        return;
    cairo_pattern_t* pattern = createPatternFor(decoded, source);
    cairo_matrix_t deviceToSource;
    cairo_matrix_init_scale(&deviceToSource, source.getWidth() / device.getWidth(),
                            source.getHeight() / device.getHeight());
    cairo_matrix_translate(&deviceToSource, -device.left, -device.top);
    cairo_pattern_set_matrix(pattern, &deviceToSource);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, device.left, device.top, device.getWidth(), device.getHeight());
    cairo_clip(cr);
    cairo_set_source(cr, pattern);
    cairo_paint_with_alpha(cr, std::clamp(alpha, 0.f, 1.f) * state.globalAlpha);
    cairo_restore(cr);
    cairo_pattern_destroy(pattern);
}

void CDrawContext::saveGlobalState()
{
    savedStates.push_back(state);
    cairo_save(cr);
}

void CDrawContext::restoreGlobalState()
{
    if (savedStates.empty())
        return;
    state = std::move(savedStates.back());
    savedStates.pop_back();
    cairo_restore(cr);
}

void CDrawContext::setClipRect(const CRect& rect)
{
    CRect device = snapped(state.transform.transform(rect));
    device.bound(surfaceBounds);
    state.clip = device;
    cairo_reset_clip(cr);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, device.left, device.top, device.getWidth(), device.getHeight());
    cairo_restore(cr);
    cairo_clip(cr);
}

CRect& CDrawContext::getClipRect(CRect& clip) const
{
    clip = state.transform.inverse().transform(state.clip);
    return clip;
}

double CDrawContext::getScaleFactor() const
{
    const CGraphicsTransform& t = state.transform;
    return std::sqrt(std::fabs(t.m11 * t.m22 - t.m12 * t.m21));
}

} // namespace VSTGUI
