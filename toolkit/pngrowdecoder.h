// A PNG file's pixels in a cairo image surface, decoded from the top row down only as far as
// they are asked for: a film strip drawn at its first frame costs that frame, not the strip.
// UI thread only.
#pragma once

#include "cpoint.h"
#include <memory>
#include <string>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;
typedef struct png_struct_def png_struct;
typedef struct png_info_def png_info;

namespace VSTGUI {

class PngRowDecoder
{
public:
    // Reads the file at `path` and its header; null when it is not a PNG of `size` pixels.
    static std::unique_ptr<PngRowDecoder> open(const std::string& path, CPoint size);
    ~PngRowDecoder();
    PngRowDecoder(const PngRowDecoder&) = delete;
    PngRowDecoder& operator=(const PngRowDecoder&) = delete;

    // Decodes the rows above `rows` that are not decoded yet (an interlaced file all at once).
    // False, and nothing more is decoded, once the file has failed.
    bool decodeRows(CCoord rows);
    int decodedRows() const { return decoded; }
    // Premultiplied ARGB32; rows not decoded yet are transparent.
    cairo_surface_t* getSurface() const { return surface; }

private:
    PngRowDecoder() = default;
    bool readHeader(CPoint size);
    // Reads rows [firstRow, endRow) into the surface as libpng gives them; false on its error.
    bool readRows(int firstRow, int endRow);
    void premultiply(int firstRow, int endRow);
    void finishReading();
    static void readBytes(png_struct* png, unsigned char* out, size_t count);

    std::vector<unsigned char> file; // the whole file, until the last row is decoded
    size_t readPosition = 0;         // bytes
    png_struct* png = nullptr;
    png_info* info = nullptr;
    cairo_surface_t* surface = nullptr;
    int height = 0;  // rows
    int decoded = 0; // rows
    int passes = 1;  // 7 for an interlaced file
    bool failed = false;
};

} // namespace VSTGUI
