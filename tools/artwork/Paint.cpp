#include "Paint.h"

#include <pango/pangocairo.h>

#include <memory>

namespace artwork {

Colour rgb(int red, int green, int blue, double alpha)
{
    return {red / 255.0, green / 255.0, blue / 255.0, alpha};
}

Colour mix(Colour from, Colour to, double t)
{
    auto blend = [t](double a, double b) { return a + (b - a) * t; };
    return {blend(from.red, to.red), blend(from.green, to.green), blend(from.blue, to.blue),
            blend(from.alpha, to.alpha)};
}

Colour withAlpha(Colour colour, double alpha)
{
    colour.alpha = alpha;
    return colour;
}

void setColour(cairo_t* cr, Colour colour)
{
    cairo_set_source_rgba(cr, colour.red, colour.green, colour.blue, colour.alpha);
}

void strokePath(cairo_t* cr, Colour colour, double width)
{
    setColour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

Box edges(double left, double top, double right, double bottom)
{
    return {left, top, right - left, bottom - top};
}

void roundedRect(cairo_t* cr, Box box, double radius)
{
    constexpr double quarter = 1.5707963267948966;
    cairo_new_sub_path(cr);
    cairo_arc(cr, box.right() - radius, box.y + radius, radius, -quarter, 0);
    cairo_arc(cr, box.right() - radius, box.bottom() - radius, radius, 0, quarter);
    cairo_arc(cr, box.x + radius, box.bottom() - radius, radius, quarter, 2 * quarter);
    cairo_arc(cr, box.x + radius, box.y + radius, radius, 2 * quarter, 3 * quarter);
    cairo_close_path(cr);
}

void fillVertical(cairo_t* cr, Box box, Colour top, Colour bottom)
{
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, box.y, 0, box.bottom());
    cairo_pattern_add_color_stop_rgba(gradient, 0, top.red, top.green, top.blue, top.alpha);
    cairo_pattern_add_color_stop_rgba(gradient, 1, bottom.red, bottom.green, bottom.blue, bottom.alpha);
    cairo_set_source(cr, gradient);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(gradient);
}

void glow(cairo_t* cr, double centreX, double centreY, double radius, Colour colour, double fullRadius)
{
    cairo_pattern_t* light = cairo_pattern_create_radial(centreX, centreY, fullRadius, centreX, centreY, radius);
    cairo_pattern_add_color_stop_rgba(light, 0, colour.red, colour.green, colour.blue, colour.alpha);
    cairo_pattern_add_color_stop_rgba(light, 1, colour.red, colour.green, colour.blue, 0);
    cairo_set_source(cr, light);
    cairo_arc(cr, centreX, centreY, radius, 0, 6.283185307179586);
    cairo_fill(cr);
    cairo_pattern_destroy(light);
}

namespace {

struct LayoutDeleter
{
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, LayoutDeleter>;

// Layout metrics must not follow the device scale, so that every scale places text alike.
void keepMetricsScaleFree(PangoLayout* layout)
{
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
    cairo_font_options_destroy(options);
    pango_layout_context_changed(layout);
}

LayoutPtr makeLayout(cairo_t* cr, const std::string& text, const TextStyle& style)
{
    LayoutPtr layout{pango_cairo_create_layout(cr)};
    keepMetricsScaleFree(layout.get());
    PangoFontDescription* font = pango_font_description_from_string(style.family);
    pango_font_description_set_weight(font, style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(font, style.size * PANGO_SCALE);
    pango_layout_set_font_description(layout.get(), font);
    pango_font_description_free(font);
    if (style.letterSpacing != 0)
    {
        PangoAttrList* attributes = pango_attr_list_new();
        pango_attr_list_insert(attributes, pango_attr_letter_spacing_new(int(style.letterSpacing * PANGO_SCALE)));
        pango_layout_set_attributes(layout.get(), attributes);
        pango_attr_list_unref(attributes);
    }
    pango_layout_set_text(layout.get(), text.c_str(), -1);
    return layout;
}

} // namespace

void drawText(cairo_t* cr, const std::string& text, Box box, const TextStyle& style, Align align)
{
    LayoutPtr layout = makeLayout(cr, text, style);
    PangoRectangle ink, logical;
    pango_layout_get_extents(layout.get(), &ink, &logical);
    const double width = double(logical.width) / PANGO_SCALE;
    // Centre on the ink so capitals sit in the middle whatever the font's ascent.
    const double inkTop = double(ink.y) / PANGO_SCALE, inkHeight = double(ink.height) / PANGO_SCALE;
    double x = box.x;
    if (align == Align::centre)
        x = box.centreX() - width / 2;
    else if (align == Align::right)
        x = box.right() - width;
    cairo_save(cr);
    setColour(cr, style.colour);
    cairo_move_to(cr, x, box.centreY() - inkHeight / 2 - inkTop);
    pango_cairo_show_layout(cr, layout.get());
    cairo_restore(cr);
}

void drawEngravedText(cairo_t* cr, const std::string& text, Box box, const TextStyle& style, Colour shadow,
                      Align align)
{
    TextStyle shadowStyle = style;
    shadowStyle.colour = shadow;
    drawText(cr, text, box.moved(0, 1), shadowStyle, align);
    drawText(cr, text, box, style, align);
}

} // namespace artwork
