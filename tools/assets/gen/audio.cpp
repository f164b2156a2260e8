#include "audio.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "noise.h"

namespace gen {

namespace {

constexpr int RATE = SAMPLE_RATE;

constexpr float TAU = 6.28318530718f;

struct OnePole {  // low-pass; high-pass is the input minus the low-pass
    float a, z = 0;
    explicit OnePole(float cutoff) : a(1 - std::exp(-TAU * cutoff / RATE)) {}
    float low(float x) { return z += a * (x - z); }
    float high(float x) { return x - low(x); }
};

float env(float t, float attack, float decay) {
    if (t < 0) return 0;
    float a = attack > 0 ? std::fmin(1.0f, t / attack) : 1.0f;
    return a * std::exp(-t / decay);
}

void fadeEnd(Wave& w) {
    // The last few milliseconds go to zero so no click ends the sound.
    const size_t fade = RATE / 200;
    for (size_t i = 0; i < fade && i < w.size(); ++i) w[w.size() - 1 - i] *= static_cast<float>(i) / fade;
}

void normalise(Wave& w, float peak = 0.9f) {
    float m = 1e-6f;
    for (float v : w) m = std::fmax(m, std::fabs(v));
    for (float& v : w) v *= peak / m;
    fadeEnd(w);
}

// The three shots share one loudness so that no weapon sounds weaker than another. A shot
// whose peaks would pass SHOT_PEAK to get there is rounded off by a soft limiter first.
constexpr float SHOT_LOUDNESS_DB = -13.0f;
constexpr float SHOT_PEAK = 0.85f;

void levelShot(Wave& w) {
    for (int round = 0; round < 8; ++round) {
        const float gain = std::pow(10.0f, (SHOT_LOUDNESS_DB - loudnessDb(w)) / 20);
        float peak = 0;
        for (float& v : w) v *= gain, peak = std::fmax(peak, std::fabs(v));
        if (peak <= SHOT_PEAK) break;
        for (float& v : w) v = SHOT_PEAK * std::tanh(v / SHOT_PEAK);
    }
    fadeEnd(w);
}

}  // namespace

float loudnessDb(const Wave& w) {
    const size_t window = RATE / 100;
    std::vector<double> energy;
    for (size_t i = 0; i + window <= w.size(); i += window) {
        double e = 0;
        for (size_t j = i; j < i + window; ++j) e += static_cast<double>(w[j]) * w[j];
        energy.push_back(e / window);
    }
    double top = 0, sum = 0;
    for (double e : energy) top = std::fmax(top, e);
    int counted = 0;
    for (double e : energy)
        if (e >= top / 100) sum += e, ++counted;
    return counted && sum > 0 ? static_cast<float>(10 * std::log10(sum / counted)) : -200.0f;
}

bool writeWav(const Wave& w, const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    auto u32 = [f](uint32_t v) { for (int i = 0; i < 4; ++i) std::fputc((v >> (8 * i)) & 255, f); };
    auto u16 = [f](uint16_t v) { std::fputc(v & 255, f), std::fputc(v >> 8, f); };
    const uint32_t bytes = static_cast<uint32_t>(w.size() * 2);
    std::fputs("RIFF", f), u32(36 + bytes), std::fputs("WAVEfmt ", f);
    u32(16), u16(1), u16(1), u32(RATE), u32(RATE * 2), u16(2), u16(16);
    std::fputs("data", f), u32(bytes);
    for (float v : w) {
        long s = std::lround(std::fmax(-1.0f, std::fmin(1.0f, v)) * 32767.0f);
        u16(static_cast<uint16_t>(static_cast<int16_t>(s)));
    }
    return std::fclose(f) == 0;
}

Wave stepSound() {
    Rng rng(901);
    Wave w(static_cast<size_t>(RATE * 0.22f));
    OnePole lp(1400), lp2(350), hp(180);
    float phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        float t = static_cast<float>(i) / RATE;
        float f = 70 + 70 * std::exp(-t / 0.03f);
        phase += TAU * f / RATE;
        float n = rng.range(-1, 1);
        float thump = std::sin(phase) * env(t, 0.002f, 0.05f);
        float grit = hp.high(lp.low(n)) * env(t, 0.001f, 0.025f);
        float body = lp2.low(n) * env(t, 0.003f, 0.06f);
        w[i] = std::tanh(1.6f * thump) + 2.0f * grit + 2.0f * body;
    }
    normalise(w, 0.85f);
    return w;
}

Wave hunterShot() {
    Rng rng(902);
    Wave w(static_cast<size_t>(RATE * 0.38f));
    OnePole hp(1800), lpTail(1200), lpBody(500);
    float phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        float t = static_cast<float>(i) / RATE;
        float n = rng.range(-1, 1);
        float crack = hp.high(n) * env(t, 0.0005f, 0.012f);
        float tail = lpTail.low(n) * env(t - 0.004f, 0.004f, 0.09f);
        phase += TAU * (90 + 160 * std::exp(-t / 0.015f)) / RATE;
        float thump = std::sin(phase) * env(t, 0.001f, 0.035f);
        float body = lpBody.low(n) * env(t, 0.001f, 0.04f);
        w[i] = 1.6f * crack + 1.3f * tail + 0.9f * thump + 2.0f * body;
    }
    for (float& v : w) v = std::tanh(1.8f * v);
    levelShot(w);
    return w;
}

Wave cannonShot() {
    Rng rng(903);
    Wave w(static_cast<size_t>(RATE * 0.9f));
    OnePole lpRumble(400), lpRumble2(200), lpBlast(1100), hp(2500);
    float phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        float t = static_cast<float>(i) / RATE;
        float n = rng.range(-1, 1);
        phase += TAU * (48 + 110 * std::exp(-t / 0.05f)) / RATE;
        float boom = std::sin(phase) * env(t, 0.002f, 0.18f);
        float rumble = lpRumble2.low(lpRumble.low(n)) * env(t, 0.01f, 0.35f);
        float blast = lpBlast.low(n) * env(t, 0.001f, 0.11f);
        float crack = hp.high(n) * env(t, 0.0005f, 0.015f);
        w[i] = 0.8f * std::tanh(1.8f * boom) + 2.2f * blast + 6.0f * rumble + 0.6f * crack;
    }
    for (float& v : w) v = std::tanh(1.5f * v);
    levelShot(w);
    return w;
}

Wave buzzsawShot() {
    Rng rng(904);
    Wave w(static_cast<size_t>(RATE * 0.34f));
    OnePole hp(3000), lp(2500);
    float p1 = 0, p2 = 0, p3 = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        float t = static_cast<float>(i) / RATE;
        float f = 700 + 900 * (1 - std::exp(-t / 0.08f));
        float wob = 1 + 0.5f * std::sin(TAU * 38 * t);  // the teeth passing
        p1 += TAU * f / RATE;
        p2 += TAU * f * 2.76f / RATE;
        p3 += TAU * f * 5.4f / RATE;
        float saw = std::fmod(p1 / TAU, 1.0f) * 2 - 1;
        float metal = 0.5f * saw + 0.35f * std::sin(p2) + 0.2f * std::sin(p3);
        float whirr = lp.low(metal) * wob * env(t, 0.006f, 0.12f);
        float click = hp.high(rng.range(-1, 1)) * env(t, 0.0003f, 0.006f);
        w[i] = 1.4f * whirr + 0.9f * click;
    }
    levelShot(w);
    return w;
}

}  // namespace gen
