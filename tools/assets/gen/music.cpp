#include "music.h"

#include <string>

#include "sequencer.h"

namespace gen {

namespace {

using I = Instrument;

std::string rest(int bars) { return "-:" + std::to_string(16 * bars) + " "; }
std::string silentGrid(int bars) { return repeat("................", bars); }

// Peaks in the files: the mixer halves a centred voice, so music at full volume stays well
// under the shots that play over it.
constexpr float MUSIC_PEAK = 0.7f;

const std::vector<int> MINOR_ARP = {0, 3, 7, 12, 15, 12, 7, 3}, MAJOR_ARP = {0, 4, 7, 12, 16, 12, 7, 4};

}  // namespace

Wave menuMusic() {
    const std::string Dm = "D3+A3+D4+F4:16 ", Bb = "Bb2+F3+Bb3+D4:16 ", Gm = "G2+D3+G3+Bb3:16 ",
                      A = "A2+E3+A3+C#4:16 ", C = "C3+G3+C4+E4:16 ", Eb = "Bb2+Eb3+G3+Bb3:16 ";
    const std::string harpDm = figure("D4", MINOR_ARP, 2), harpBb = figure("Bb3", MAJOR_ARP, 2),
                      harpC = figure("C4", MAJOR_ARP, 2), harpA = figure("A3", MAJOR_ARP, 2),
                      harpGm = figure("G3", MINOR_ARP, 2), harpEb = figure("Eb4", MAJOR_ARP, 2);
    Piece p{84, 16, 0.86f, 11, {}};
    p.tracks = {
        {I::pad, -6, 0.5f,
         Dm + Bb + Gm + A + Dm + Bb + C + A + Gm + Dm + Eb + A + Dm + Bb + Gm + "A2+E3+A3+D4:8 A2+E3+A3+C#4:8"},
        {I::strings, -10, 0.5f,
         rest(8) + "G4+Bb4+D5:16 F4+A4+D5:16 G4+Bb4+Eb5:16 E4+A4+C#5:16 F4+A4+D5:16 F4+Bb4+D5:16 G4+Bb4+D5:16 "
                   "E4+A4+C#5:16"},
        {I::bass, -7, 0.05f,
         "D2:8 D2:8 Bb1:8 Bb1:8 G1:8 G1:8 A1:8 A1:8 | D2:8 D2:4 C2:4 Bb1:8 Bb1:8 C2:8 C2:8 A1:8 A1:4 C#2:4 | "
         "G1:8 G1:8 D2:8 D2:8 Eb2:8 Eb2:8 A1:8 A1:8 | D2:8 D2:4 C2:4 Bb1:8 Bb1:8 G1:8 G1:8 A1:8 A1:8"},
        {I::bell, -9, 0.6f,
         "-:4 A4:4 D5:4 F5:4 | E5:8 D5:4 -:4 | -:4 G4:4 Bb4:4 D5:4 | C#5:12 -:4 " + rest(8) +
             "-:8 D6:8? | -:8 D6:8? | -:8 Bb5:8? | -:8 C#6:8?"},
        {I::choir, -6, 0.6f,
         rest(4) + "D5:6 E5:2 F5:4 A5:4 | F5:6 E5:2 D5:8 | E5:6 F5:2 G5:4 E5:4 | C#5:12 -:4 | " +
             "G4:16? F4:16? G4:16? E4:16? | A5:8 F5:4 D5:4 | F5:6 E5:2 D5:8 | D5:4 Bb4:4 G4:8 | A4:16"},
        {I::lead, -6, 0.35f,
         rest(8) + "Bb4:4 D5:4 G5:6 F5:2 | F5:4 E5:2 D5:2 A4:8 | G4:4 Bb4:4 Eb5:6 D5:2 | C#5:8 E5:4 A5:4 " + rest(4)},
        {I::pluck, -10, 0.4f,
         rest(4) + harpDm + harpBb + harpC + harpA + harpGm + harpDm + harpEb + harpA + harpDm + harpBb + harpGm + harpA},
        {I::timpani, -5, 0.4f,
         "D2:16 -:16 D2:16 A2:8 A2:8 | D2:16 -:16 -:16 A2:16 | -:16 D2:16 -:16 A2:16 | D2:16 -:16 -:16 "
         "A2:2? A2:2? A2:2? A2:2? A2:1 A2:1 A2:1 A2:1 A2:1! A2:1! A2:1! A2:1!"},
        {I::kick, -7, 0.1f, silentGrid(4) + repeat("x.......o.......", 12), true},
        {I::snare, -11, 0.35f,
         silentGrid(4) + repeat("............o...", 4) + repeat("........x.......", 7) + "........x.o.xoxx", true},
        {I::hat, -18, 0.2f, silentGrid(8) + repeat("..o...o...o...o.", 8), true},
        {I::cymbal, -15, 0.3f,
         silentGrid(4) + "x..............." + silentGrid(3) + "x..............." + silentGrid(3) +
             "x..............." + silentGrid(3),
         true},
    };
    return renderPiece(p, MUSIC_PEAK);
}

Wave levelMusicA() {
    const std::vector<int> minorRiff = {0, 0, 12, 0, 0, 10, 0, 7}, majorRiff = {0, 0, 12, 0, 0, 7, 0, 12};
    auto riff = [&](const char* root, bool minor) { return figure(root, minor ? minorRiff : majorRiff, 2); };
    const std::string sectionA = riff("E2", true) + riff("C2", false) + riff("D2", false) + riff("B1", true);
    const std::string sectionB = riff("A1", true) + riff("E2", true) + riff("C2", false) + riff("B1", false);
    auto hits = [](const char* root, const char* rhythm) {
        std::string r;
        for (const char* c = rhythm; *c; ++c) r += *c == 'R' ? root : std::string(1, *c);
        return r + " ";
    };
    const char* hitA = "R:3 R:3 R:2 -:6 R:2";
    const char* hitB = "R:4! -:4 R:4 -:2 R:2";
    const std::string stabsA = hits("E3", hitA) + hits("C3", hitA) + hits("D3", hitA) + hits("B2", hitA);
    const std::string stabsB = hits("A2", hitB) + hits("E3", hitB) + hits("C3", hitB) + hits("B2", hitB);
    const std::string arpEm = repeat(figure("E4", MINOR_ARP, 1), 2), arpC = repeat(figure("C4", MAJOR_ARP, 1), 2),
                      arpB = repeat(figure("B3", MAJOR_ARP, 1), 2);
    const std::string chordsB = "A3+C4+E4:16 G3+B3+E4:16 G3+C4+E4:16 F#3+B3+D#4:16 ";
    Piece p{126, 24, 0.82f, 22, {}};
    p.tracks = {
        {I::bass, -5, 0.05f, repeat(riff("E2", true), 4) + repeat(sectionA, 2) + repeat(sectionB, 2) +
                                 "E2:16 E2:16 C2:16 B1:16"},
        {I::stab, -9, 0.2f, rest(2) + repeat(hits("E3", "R:3 R:3 R:2 -:8"), 2) + repeat(stabsA, 2) +
                                repeat(stabsB, 2) + rest(4)},
        {I::pad, -12, 0.5f,
         rest(4) + repeat("E3+G3+B3:16 E3+G3+C4:16 F#3+A3+D4:16 F#3+B3+D4:16 ", 2) + rest(12)},
        {I::strings, -10, 0.45f, rest(12) + repeat(chordsB, 2) + "G3+B3+E4:16 G3+B3+E4:16 G3+C4+E4:16 F#3+B3+D#4:16"},
        {I::lead, -5, 0.3f,
         rest(4) +
             "B4:2 E5:4 G5:2 F#5:4 E5:2 D5:2 | E5:6 C5:2 G4:8 | A4:2 D5:4 F#5:2 A5:4 G5:2 F#5:2 | F#5:12 -:4 | "
             "B4:2 E5:4 G5:2 F#5:4 E5:2 D5:2 | E5:6 G5:2 C6:8 | B5:4 A5:2 G5:2 F#5:4 D5:4 | B4:12 -:4 | "
             "A5:4 G5:2 E5:2 C5:4 E5:4 | B4:4 E5:4 G5:4 B5:4 | C6:6 B5:2 A5:4 G5:4 | F#5:8 D#5:8 | "
             "A5:4 G5:2 E5:2 C5:4 E5:4 | G5:4 F#5:2 E5:2 B4:8 | C5:4 E5:4 G5:4 C6:4 | B5:12 -:4 " +
             rest(4)},
        {I::pluck, -9, 0.4f, rest(20) + arpEm + arpEm + arpC + arpB},
        {I::kick, -5, 0.08f,
         repeat("x...x...x...x...", 4) + repeat("x.....x.x.......", 8) + repeat("x.....x.x.x.....", 8) +
             repeat("x...............", 3) + "x.......x.x.x.x.",
         true},
        {I::snare, -9, 0.3f,
         silentGrid(2) + "....x.......x... ....x.....x.xxxx" + repeat("....x.......x...", 7) + "....x.......xoxx" +
             repeat("....x.......x..o", 7) + "....x...x.x.xxxx" + silentGrid(2) + "....x.......x... ........o.o.xxxx",
         true},
        {I::hat, -16, 0.15f,
         repeat("..x...x...x...x.", 4) + repeat("x.o.x.o.x.o.x.o.", 8) + repeat("xoxoxoxoxoxoxoxo", 8) +
             repeat("....o.......o...", 4),
         true},
        {I::openHat, -18, 0.2f, silentGrid(12) + repeat("..............x.", 8) + silentGrid(4), true},
        {I::cymbal, -14, 0.3f,
         "o..............." + silentGrid(3) +
             repeat("x..............." + silentGrid(3), 4) + "x..............." + silentGrid(3),
         true},
        {I::tom, -6, 0.25f, rest(23) + "-:8 G3:2 E3:2 C3:2 A2:2!"},
    };
    return renderPiece(p, MUSIC_PEAK);
}

Wave levelMusicB() {
    const std::string Am = "A2+E3+A3+C4:16 ", Bb = "Bb2+F3+Bb3+D4:16 ", E = "B2+E3+G#3+B3:16 ", Dm = "D3+F3+A3+D4:16 ";
    const std::vector<int> pulse = {0, 0, 12, 0, 0, 0, 12, 0};
    auto bass = [&](const char* root) { return figure(root, pulse, 2); };
    auto arp = [](const char* root, bool minor) { return repeat(figure(root, minor ? MINOR_ARP : MAJOR_ARP, 1), 2); };
    const std::string tribal = "E2:3 E2:3 E2:2 A2:2 A2:2 E2:4 ";
    Piece p{105, 20, 0.88f, 33, {}};
    p.tracks = {
        {I::organ, -8, 0.45f,
         repeat(Am, 4) + Am + Bb + Am + E + Dm + Bb + E + E + Dm + Am + Bb + E + Am + Bb + Am + E},
        {I::bass, -6, 0.05f,
         rest(2) + bass("A1") + bass("A1") + bass("A1") + bass("Bb1") + bass("A1") + bass("E2") + bass("D2") +
             bass("Bb1") + bass("E2") + bass("E2") + bass("D2") + bass("A1") + bass("Bb1") + bass("E2") + bass("A1") +
             bass("Bb1") + bass("A1") + bass("E2")},
        {I::pluck, -9, 0.4f,
         rest(4) + arp("A3", true) + arp("Bb3", false) + arp("A3", true) + arp("E4", false) + arp("D4", true) +
             arp("Bb3", false) + arp("E4", false) + arp("E4", false) + rest(4) + arp("A3", true) + arp("Bb3", false) +
             arp("A3", true) + arp("E4", false)},
        {I::lead, -5, 0.35f,
         rest(4) +
             "A4:4 C5:4 E5:6 D5:2 | D5:4 F5:4 D5:4 Bb4:4 | C5:4 B4:2 A4:2 E5:8 | G#4:6 A4:2 B4:8 | "
             "F5:4 E5:2 D5:2 A5:8 | F5:4 D5:4 Bb4:8 | G#4:4 B4:4 D5:4 E5:4 | G#5:8 F5:4 E5:4 " +
             rest(8)},
        {I::choir, -5, 0.6f,
         rest(2) + "A4:16? A4:16? | C5:16? D5:16? C5:16? B4:16? A4:16? Bb4:16? B4:16? B4:16? | "
                   "D5:8 F5:4 A5:4 | E5:8 C5:4 A4:4 | D5:4 F5:4 Bb5:8 | G#5:12 E5:4 | A4:16? Bb4:16? A4:16? G#4:16?"},
        {I::bell, -9, 0.6f, rest(16) + "A5:4 E5:4 C5:4 B4:4 | Bb4:8 D5:8 | A4:4 C5:4 E5:8 | G#4:8 B4:8"},
        {I::tom, -4, 0.25f,
         repeat(tribal, 12) + repeat("E2:3 E2:3 E2:2 A2:2 A2:2 E2:2 A2:1 A2:1 ", 4) + repeat(tribal, 3) +
             "A2:2 A2:2 E2:2 E2:2 C3:1 C3:1 A2:1 A2:1 E2:1 E2:1 E2:2!"},
        {I::timpani, -6, 0.4f, rest(12) + "D2:16 A2:16 D2:16 E2:8 E2:4 E2:4 " + rest(4)},
        {I::kick, -6, 0.08f,
         silentGrid(2) + repeat("x.........x.....", 2) + repeat("x.....x.x.......", 8) +
             repeat("x.....x.x.x.....", 4) + repeat("x.....x.x.......", 3) + "x...............",
         true},
        {I::snare, -9, 0.35f,
         silentGrid(4) + repeat("........x.......", 7) + "........x...x.xx" + repeat("....x.......x...", 3) +
             "....x.......xxxx" + repeat("........x.......", 4),
         true},
        {I::hat, -16, 0.15f,
         repeat("..o...o...o...o.", 4) + repeat("x.o.x.o.x.o.x.o.", 8) + repeat("xoxoxoxoxoxoxoxo", 4) +
             repeat("..o...o...o...o.", 4),
         true},
        {I::cymbal, -14, 0.3f, silentGrid(4) + repeat("x..............." + silentGrid(3), 4), true},
    };
    return renderPiece(p, MUSIC_PEAK);
}

}  // namespace gen
