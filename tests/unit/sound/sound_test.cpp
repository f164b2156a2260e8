// The sound object: kinds by file ending, ownership on load and destroy, fatal failures.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "common/test_support.h"
#include "sound/Sound.h"

namespace {
std::string le(unsigned v, int bytes) { return bytes ? static_cast<char>(v & 0xFF) + le(v >> 8, bytes - 1) : ""; }
// 8-bit mono PCM of n samples; a format 0 tune of one note.
std::string wav(int n) {
    return "RIFF" + le(36 + n, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(11025, 4) + le(11025, 4) +
           le(1, 2) + le(8, 2) + "data" + le(n, 4) + std::string(n, '\x40');
}
const std::string kMidi = std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0\x0C\x00\x90\x3C\x40\x60\x80\x3C\x00\x00\xFF\x2F\x00", 34);

struct SoundTest : ::testing::Test {
    TempDir dir;
    std::string at(const char* name, const std::string& bytes) { return writeFile(dir.file(name), bytes), dir.file(name); }
};
using SoundDeathTest = SoundTest;
}  // namespace

static_assert(!std::is_copy_constructible_v<Sound> && !std::is_copy_assignable_v<Sound>, "a copy would free twice");

TEST_F(SoundTest, KindFollowsTheEndingAndLoadReplacesWhatIsHeld) {
    EXPECT_EQ(Sound(at("tune.midi", kMidi)).kind, 2);
    Sound s(at("shot.wav", wav(400)));
    EXPECT_EQ(s.isActive(), 1);
    EXPECT_EQ(s.sample->len, 400u);
    s.load(at("noDotwav", wav(100)));
    EXPECT_EQ(s.sample->len, 100u) << "no dot is needed before the ending";
    s.load(at("tune.mid", kMidi));
    EXPECT_TRUE(s.kind == 2 && s.sample == nullptr && s.midi != nullptr) << "the sample was freed";
    s.load(dir.file("shot.wav"));
    EXPECT_TRUE(s.kind == 1 && s.midi == nullptr);
    for (const char* name : {"", "tune.mid", "shot.wav"}) {  // empty, destroyed twice: all harmless
        Sound t;
        if (*name) t.load(dir.file(name)), t.destroy(), t.destroy();
        t.play(0, 255, 128, 1000);
        t.stop();
        EXPECT_TRUE(t.isActive() == 0 && t.sample == nullptr && t.midi == nullptr) << name;
    }
}

// Endings are matched in lower case only, so the upper-case file fails too.
TEST_F(SoundDeathTest, EveryFailureIsError008WithThePath) {
    for (const std::string& path : {at("broken.wav", "RIFF\x04\x00\x00\x00junk"), at("broken.mid", "MThd nonsense"),
                                    at("SHOT.WAV", wav(100)), dir.file("missing.wav"), dir.file("tune.ogg"),
                                    dir.file("100%.wav"), std::string("av"), std::string()})
        EXPECT_EXIT(Sound{path}, ::testing::ExitedWithCode(1), "Error008: Loading sample \"" + path + "\" failed") << path;
}
