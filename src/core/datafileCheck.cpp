#include "core/datafileCheck.h"

#include <allegro.h>

#include "core/datafileBytes.h"

namespace {

// The library's readers allocate what an object's header asks for and then read on past the
// end of the object without noticing: every size inside must be backed by the bytes that follow.

// Only the forms the dat tool writes are taken: ranges of one-bit glyphs, or ranges of colour
// glyphs stored as little bitmaps of 8 (written as 0), 15, 16, 24 or 32 bits (the last two of
// three bytes a pixel). All ranges of a font must be of one kind: the library keeps one drawing
// table per font and would take glyphs of the other kind for its own.
unsigned glyphPixelBytes(int depth) {
    switch (depth) {
        case 1: return 0;  // one bit a pixel, rows rounded up to bytes
        case 0: case 8: return 1;
        case 15: case 16: return 2;
        case 24: case 32: return 3;
        default: return 4;  // refused
    }
}

bool fontIntact(DatafileBytes& r) {
    int kind = 0, ranges = 0;
    if (!r.signedWord(kind) || kind != 0 || !r.word(ranges) || ranges < 1) return false;
    bool mono = false;
    for (int i = 0; i < ranges; ++i) {
        int depth = 0;
        long first = 0, last = 0;
        if (!r.byte(depth) || !r.bigEndian(first) || !r.bigEndian(last)) return false;
        const unsigned pixelBytes = glyphPixelBytes(depth);
        if (pixelBytes > 3 || (i > 0 && mono != (pixelBytes == 0))) return false;
        mono = pixelBytes == 0;
        // The library keeps one past the last character in an int.
        if (first < 0 || last < first || last == 0x7FFFFFFF) return false;
        // Each glyph takes four bytes at least: a huge range in a small file is refused before it is walked.
        const unsigned long long glyphs = static_cast<unsigned long long>(last - first) + 1;
        if (glyphs > (r.size - r.at) / 4) return false;
        for (unsigned long long g = 0; g < glyphs; ++g) {
            int w = 0, h = 0;
            // The library keeps a one-bit glyph's size in a short; colour glyphs are held to the same.
            if (!r.word(w) || !r.word(h) || w > 0x7FFF || h > 0x7FFF) return false;
            // It draws the rows of a glyph no wide from bytes it never allocated.
            if (w == 0 && h != 0) return false;
            const unsigned long long rowBytes = mono ? (w + 7) / 8 : 1ull * w * pixelBytes;
            if (!r.skipBytes(rowBytes * h)) return false;
        }
    }
    return true;
}

bool bitmapIntact(DatafileBytes& r) {
    int bits = 0, w = 0, h = 0;
    if (!r.signedWord(bits) || !r.word(w) || !r.word(h)) return false;
    unsigned pixelBytes = 0;
    switch (bits) {
        case 8: pixelBytes = 1; break;
        case 15: case 16: pixelBytes = 2; break;
        case 24: case 32: pixelBytes = 3; break;  // both stored as 8.8.8
        case -32: pixelBytes = 4; break;
        default: return false;
    }
    return r.skipBytes(1ull * w * h * pixelBytes);
}

bool sampleIntact(DatafileBytes& r) {
    int bits = 0, freq = 0;
    long length = 0;
    if (!r.signedWord(bits) || !r.word(freq) || !r.bigEndian(length) || length < 0) return false;
    const unsigned channels = bits < 0 ? 2 : 1;
    if (bits < 0) bits = -bits;
    if (bits != 8 && bits != 16) return false;
    return r.skipBytes(static_cast<unsigned long long>(length) * channels * static_cast<unsigned>(bits / 8));
}

bool midiIntact(DatafileBytes& r) {
    int divisions = 0;
    if (!r.word(divisions)) return false;
    for (int track = 0; track < 32; ++track) {
        long length = 0;
        if (!r.bigEndian(length) || !r.skip(length)) return false;
    }
    return true;
}

bool objectsIntact(DatafileBytes& r, long count, int depth);

// Checks what an object holds by its type. Run-length sprites are refused: the library walks
// their runs when it loads them, and nothing of ours uses them.
bool contentIntact(long type, DatafileBytes body, int depth) {
    switch (type) {
        case DAT_FILE: {
            long count = 0;
            return body.bigEndian(count) && objectsIntact(body, count, depth + 1);
        }
        case DAT_FONT: return fontIntact(body);
        case DAT_BITMAP: case DAT_C_SPRITE: case DAT_XC_SPRITE: return bitmapIntact(body);
        case DAT_SAMPLE: return sampleIntact(body);
        case DAT_MIDI: return midiIntact(body);
        case DAT_RLE_SPRITE: return false;
        case DAT_END: return false;  // the reader's type table holds no loader for it
        default: return true;  // kept as raw bytes
    }
}

// Objects: optional properties ("prop", id, size, bytes), the type, then a chunk of two sizes
// (stored, unpacked; unpacked negated when the chunk is packed) and the stored bytes.
bool objectsIntact(DatafileBytes& r, long count, int depth) {
    if (count < 0 || depth > MAX_DATAFILE_NESTING) return false;
    for (long i = 0; i < count; ++i) {
        long type = 0;
        if (!r.bigEndian(type)) return false;
        while (type == DAT_PROPERTY) {
            long id = 0, size = 0;
            if (!r.bigEndian(id) || !r.bigEndian(size) || !r.skip(size) || !r.bigEndian(type)) return false;
            if (id == DAT_END) return false;  // the reader would lose such a property and its memory
        }
        long stored = 0, unpacked = 0;
        if (!r.bigEndian(stored) || !r.bigEndian(unpacked) || stored < 0) return false;
        // Packed chunks are refused: how much of the file the library's unpacker takes cannot be
        // told from here, and a wrong guess would put its reader out of step with this walk.
        if (unpacked != stored || static_cast<unsigned long>(stored) > r.size - r.at) return false;
        if (!contentIntact(type, DatafileBytes{r.p + r.at, static_cast<size_t>(stored)}, depth)) return false;
        r.at += static_cast<size_t>(stored);
    }
    return true;
}
}  // namespace

bool datafileImageIntact(const unsigned char* bytes, size_t size) {
    DatafileBytes r{bytes, size};
    long magic = 0, count = 0;
    if (!r.bigEndian(magic) || magic != DAT_MAGIC || !r.bigEndian(count)) return false;
    return objectsIntact(r, count, 0);
}
