#include "pngrowdecoder.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <png.h>

namespace VSTGUI {

namespace {

// libpng's errors end in a jump back to the setjmp of the call that met them; its warnings
// (unknown chunks and the like) change nothing.
[[noreturn]] void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onWarning(png_structp, png_const_charp) {}

// `colour` scaled by `alpha`, both 0..255, rounded as cairo rounds.
uint32_t multiply(uint32_t colour, uint32_t alpha)
{
    const uint32_t product = colour * alpha + 0x80;
    return (product + (product >> 8)) >> 8;
}

} // namespace

std::unique_ptr<PngRowDecoder> PngRowDecoder::open(const std::string& path, CPoint size)
{
    std::unique_ptr<PngRowDecoder> decoder(new PngRowDecoder);
    std::ifstream stream(path, std::ios::binary);
    decoder->file.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    decoder->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    decoder->info = decoder->png ? png_create_info_struct(decoder->png) : nullptr;
    if (!decoder->info || !decoder->readHeader(size))
        return nullptr;
    return decoder;
}

PngRowDecoder::~PngRowDecoder()
{
    finishReading();
    if (surface)
        cairo_surface_destroy(surface);
}

bool PngRowDecoder::readHeader(CPoint size)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, this, readBytes);
    png_read_info(png, info);
    if (CPoint(png_get_image_width(png, info), png_get_image_height(png, info)) != size)
        return false;
    // Every colour type and depth becomes 8-bit RGBA.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    height = int(size.y);
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(size.x), height);
    return cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
}

void PngRowDecoder::readBytes(png_struct* png, unsigned char* out, size_t count)
{
    auto* decoder = static_cast<PngRowDecoder*>(png_get_io_ptr(png));
    if (count > decoder->file.size() - decoder->readPosition)
        png_error(png, "file ends early");
    std::memcpy(out, decoder->file.data() + decoder->readPosition, count);
    decoder->readPosition += count;
}

bool PngRowDecoder::decodeRows(CCoord rows)
{
    const int firstRow = decoded;
    const int endRow = passes > 1 || !(rows < height) ? height : int(std::max(CCoord(firstRow), std::ceil(rows)));
    if (failed || endRow == firstRow)
        return !failed;
    cairo_surface_flush(surface);
    if (!readRows(firstRow, endRow))
    {
        failed = true;
        finishReading();
        return false;
    }
    decoded = endRow;
    premultiply(firstRow, endRow);
    cairo_surface_mark_dirty_rectangle(surface, 0, firstRow, cairo_image_surface_get_width(surface), endRow - firstRow);
    if (decoded == height)
        finishReading();
    return true;
}

bool PngRowDecoder::readRows(int firstRow, int endRow)
{
    unsigned char* pixels = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    if (setjmp(png_jmpbuf(png)))
        return false;
    // An interlaced file's passes each add pixels to every row.
    for (int pass = 0; pass < passes; ++pass)
        for (int row = passes > 1 ? 0 : firstRow; row < endRow; ++row)
            png_read_row(png, pixels + ptrdiff_t(row) * stride, nullptr);
    return true;
}

void PngRowDecoder::premultiply(int firstRow, int endRow)
{
    const int width = cairo_image_surface_get_width(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int row = firstRow; row < endRow; ++row)
    {
        unsigned char* pixel = cairo_image_surface_get_data(surface) + ptrdiff_t(row) * stride;
        for (int x = 0; x < width; ++x, pixel += 4)
        {
            const uint32_t alpha = pixel[3];
            const uint32_t argb = alpha << 24 | multiply(pixel[0], alpha) << 16 | multiply(pixel[1], alpha) << 8 |
                                  multiply(pixel[2], alpha);
            std::memcpy(pixel, &argb, sizeof argb);
        }
    }
}

void PngRowDecoder::finishReading()
{
    if (png)
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    png = nullptr;
    info = nullptr;
    std::vector<unsigned char>().swap(file);
}

} // namespace VSTGUI
