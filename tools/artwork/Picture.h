#pragma once

#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

namespace artwork {

// How the scaled files of a picture are named.
enum class Scheme
{
    layout,      // name.png, name_x1.5.png, name_x2.png
    overlay,     // name.png, name_1.5x.png, name_2x.png
    pressedHelp, // name__1.5x.png, name__2x.png: a pressed set that shares its 1x file
    oneScale,    // name.png only
};

// One picture: a film strip of frames stacked vertically (a still picture has one frame).
struct Picture
{
    std::string base;
    Scheme scheme;
    int width;       // 1x pixels
    int frameHeight; // 1x pixels
    int frames = 1;
    // Draws one frame at the origin, in 1x pixels; the renderer scales and clips.
    std::function<void(cairo_t*, int frame)> paintFrame;
};

struct OutputFile
{
    std::string name;
    double scale;
};

std::vector<OutputFile> filesOf(const Picture& picture);

// Draws the picture at the file's scale and writes it into folder; empty on success, else why not.
std::string writePicture(const Picture& picture, const OutputFile& file, const std::string& folder);

// Value 0..1 that frame stands for in a strip of frames, frame 0 the minimum.
double frameValue(int frame, int frames);

} // namespace artwork
