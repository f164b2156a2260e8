// The sound object: kinds by file ending, ownership on load and destroy, fatal failures.
#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "common/test_support.h"
#include "sound/Sound.h"

namespace {
std::string le(unsigned v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

// 8-bit mono PCM of the given number of samples.
std::string wavBytes(int samples) {
    return "RIFF" + le(36 + samples, 4) + "WAVE" + "fmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(11025, 4) +
           le(11025, 4) + le(1, 2) + le(8, 2) + "data" + le(samples, 4) + std::string(samples, '\x40');
}

// Format 0, one track: a note on, a note off, the end of the track.
const std::string kMidi = std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0\x0C", 22) +
                          std::string("\x00\x90\x3C\x40\x60\x80\x3C\x00\x00\xFF\x2F\x00", 12);

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(dir.file("shot.wav"), wavBytes(400));
        writeFile(dir.file("noDotwav"), wavBytes(100));
        writeFile(dir.file("SHOT.WAV"), wavBytes(100));
        for (const char* name : {"tune.mid", "tune.midi"}) writeFile(dir.file(name), kMidi);
        writeFile(dir.file("broken.wav"), "RIFF\x04\x00\x00\x00junk");
        writeFile(dir.file("broken.mid"), "MThd nonsense");
    }
    TempDir dir;
};
}  // namespace

static_assert(!std::is_copy_constructible_v<Sound> && !std::is_copy_assignable_v<Sound>,
              "a copy would free the same data twice");

TEST_F(SoundTest, KindFollowsTheEndingAndLoadReplacesWhatIsHeld) {
    EXPECT_EQ(Sound(dir.file("tune.midi")).kind, 2);
    Sound s(dir.file("shot.wav"));
    EXPECT_EQ(s.isActive(), 1);
    EXPECT_EQ(s.sample->len, 400u);
    s.load(dir.file("noDotwav"));
    EXPECT_EQ(s.sample->len, 100u) << "no dot is needed before the ending";
    s.load(dir.file("tune.mid"));
    EXPECT_EQ(s.kind, 2);
    EXPECT_EQ(s.sample, nullptr) << "the sample was freed";
    EXPECT_NE(s.midi, nullptr);
    s.load(dir.file("shot.wav"));
    EXPECT_EQ(s.kind, 1);
    EXPECT_EQ(s.midi, nullptr);
}

TEST_F(SoundTest, EmptyOrDestroyedObjectsIgnorePlayStopAndDestroy) {
    Sound s;
    s.play(0, 255, 128, 1000);
    s.stop();
    EXPECT_EQ(s.isActive(), 0);
    for (const char* name : {"tune.midi", "shot.wav"}) {
        s.load(dir.file(name));
        s.destroy();
        s.destroy();
        s.play(0, 255, 128, 1000);
        s.stop();
        EXPECT_EQ(s.kind, 0) << name;
        EXPECT_EQ(s.sample, nullptr);
        EXPECT_EQ(s.midi, nullptr);
    }
}

using SoundDeathTest = SoundTest;

// Endings are matched in lower case only, so the upper-case file fails too.
TEST_F(SoundDeathTest, EveryFailureIsError008WithThePath) {
    for (std::string path : {dir.file("missing.wav"), dir.file("broken.wav"), dir.file("broken.mid"),
                             dir.file("tune.ogg"), dir.file("100%.wav"), dir.file("SHOT.WAV"), std::string("av"),
                             std::string("")}) {
        EXPECT_EXIT(Sound{path}, ::testing::ExitedWithCode(1), "Error008: Loading sample \"" + path + "\" failed")
            << path;
    }
}
