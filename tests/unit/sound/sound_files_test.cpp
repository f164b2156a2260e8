// The shipped shots and music as the library loads them: shots equally loud, four cannon shots
// that do not clip in the mixer, music that loops without a seam.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {
const double MUSIC_PEAK = 0.71;

std::vector<double> samples(const char* path) {
    SAMPLE* s = load_sample(path);
    EXPECT_TRUE(s && s->bits == 16 && !s->stereo && s->freq == 22050) << path;
    std::vector<double> v;
    if (!s || s->bits != 16) return v;
    const auto* data = static_cast<const unsigned short*>(s->data);  // the library keeps them offset by 0x8000
    for (unsigned long i = 0; i < s->len; ++i) v.push_back((data[i] - 0x8000) / 32768.0);
    destroy_sample(s);
    return v;
}

// RMS over the 10 ms windows within 20 dB of the loudest, in dB of full scale.
double loudness(const std::vector<double>& w) {
    std::vector<double> energy;
    for (size_t i = 0; i + 220 <= w.size(); i += 220) {
        double e = 0;
        for (size_t j = i; j < i + 220; ++j) e += w[j] * w[j];
        energy.push_back(e / 220);
    }
    const double top = *std::max_element(energy.begin(), energy.end());
    double sum = 0;
    int n = 0;
    for (double e : energy)
        if (e >= top / 100) sum += e, ++n;
    return 10 * std::log10(sum / n);
}
}  // namespace

TEST(SoundFiles, ShotsEquallyLoudAndFourCannonShotsDoNotClip) {
    double level[3];
    for (int i = 0; i < 3; ++i) level[i] = loudness(samples(("sfx/shoot" + std::to_string(i + 1) + ".wav").c_str()));
    const auto [low, high] = std::minmax_element(level, level + 3);
    EXPECT_LE(*high - *low, 2.0) << "Hunter " << level[0] << " dB, Impact Cannon " << level[1] << ", Buzzsaw " << level[2];

    // The mixer plays a centred voice at full volume at half amplitude on each side (measured on its
    // output) and adds the voices; the cannon fires every 8 ticks while the key is held.
    const std::vector<double> cannon = samples("sfx/shoot2.wav");
    const size_t gap = 22050 * 8 / 32;
    std::vector<double> mix(cannon.size() + 3 * gap);
    for (int shot = 0; shot < 4; ++shot)
        for (size_t i = 0; i < cannon.size(); ++i) mix[i + shot * gap] += 0.5 * cannon[i];
    double peak = 0;
    for (double v : mix) peak = std::max(peak, std::fabs(v));
    std::printf("shots %.2f %.2f %.2f dB; four cannon shots peak at %.3f of full scale\n", level[0], level[1],
                level[2], peak);
    // Even with the music at full volume on top (its files peak below MUSIC_PEAK).
    EXPECT_LT(peak + 0.5 * MUSIC_PEAK, 1.0);
}

TEST(SoundFiles, MusicLoopsWithoutASeam) {
    uintmax_t bytes = 0;
    for (const char* path : {"sfx/music_menu.wav", "sfx/music_level1.wav", "sfx/music_level2.wav"}) {
        SCOPED_TRACE(path);
        const std::vector<double> w = samples(path);
        ASSERT_FALSE(w.empty());
        EXPECT_TRUE(w.size() >= 30 * 22050u && w.size() <= 60 * 22050u) << w.size() / 22050.0 << " s";
        double mean = 0, peak = 0;
        std::vector<double> steps;
        for (size_t i = 0; i < w.size(); ++i) {
            mean += w[i] / w.size(), peak = std::max(peak, std::fabs(w[i]));
            if (i) steps.push_back(std::fabs(w[i] - w[i - 1]));
        }
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
        EXPECT_LE(std::fabs(w.back() - w.front()), steps[steps.size() * 99 / 100]) << "the seam jumps";
        EXPECT_LT(std::fabs(mean), 0.002) << "DC";
        EXPECT_TRUE(peak > 0.3 && peak < MUSIC_PEAK) << peak;
        bytes += std::filesystem::file_size(path);
    }
    EXPECT_LT(bytes, 8u << 20);
}
