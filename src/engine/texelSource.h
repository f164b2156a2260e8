#pragma once
// One texture as the renderer reads it: its rows and sizes, taken out of the bitmap once a frame.

namespace engine_render {

struct TexelSource {
    unsigned char** line;
    const unsigned char* pixels;  // the first row when all rows follow without a gap, else null
    int w, h, wMask, hMask, heightShift, widthShift;
    float fw, fh;
};

}  // namespace engine_render
