#include "synth.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "noise.h"

namespace gen {

namespace {

constexpr float PI = 3.14159265359f;
constexpr float TAU = 2 * PI;
constexpr float SR = static_cast<float>(SAMPLE_RATE);

// Topology-preserving state-variable filter: stable while the cutoff sweeps.
struct Svf {
    float ic1 = 0, ic2 = 0, low = 0, band = 0, high = 0;
    void run(float x, float cutoff, float q) {
        cutoff = std::fmax(20.0f, std::fmin(cutoff, 0.45f * SR));
        const float g = std::tan(PI * cutoff / SR), k = 1 / q;
        const float a1 = 1 / (1 + g * (g + k)), a2 = g * a1, a3 = g * a2;
        const float v3 = x - ic2, v1 = a1 * ic1 + a2 * v3, v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2 * v1 - ic1;
        ic2 = 2 * v2 - ic2;
        low = v2, band = v1, high = x - k * v1 - v2;
    }
};

// Band-limited steps keep high notes free of aliasing whistles at 22 kHz.
float polyBlep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}

struct Osc {
    float phase = 0;
    explicit Osc(float start = 0) : phase(start) {}
    void step(float dt) {
        phase += dt;
        if (phase >= 1) phase -= 1;
    }
    float saw(float f) {
        const float dt = f / SR, v = 2 * phase - 1 - polyBlep(phase, dt);
        step(dt);
        return v;
    }
    float pulse(float f, float width) {
        const float dt = f / SR;
        float v = phase < width ? 1.0f : -1.0f;
        v += polyBlep(phase, dt) - polyBlep(std::fmod(phase + 1 - width, 1.0f), dt);
        step(dt);
        return v;
    }
    float sine(float f) {
        const float v = std::sin(TAU * phase);
        step(f / SR);
        return v;
    }
};

// Attack, decay to sustain while held, exponential release after.
struct Adsr {
    float attack, decay, sustain, release;
    float level(float t) const {
        if (t < attack) return t / attack;
        return sustain + (1 - sustain) * std::exp(-(t - attack) / decay);
    }
    float at(float t, float held) const {
        if (t <= held) return level(t);
        return level(held) * std::exp(-(t - held) / release);
    }
    float tail() const { return 5 * release; }
};

Wave blank(float seconds) { return Wave(static_cast<size_t>(std::fmax(0.01f, seconds) * SR)); }

// The last few milliseconds go to zero so no note ends in a step.
void closeTail(Wave& w) {
    const size_t fade = std::min<size_t>(w.size(), SAMPLE_RATE / 200);
    for (size_t i = 0; i < fade; ++i) w[w.size() - 1 - i] *= static_cast<float>(i) / fade;
}

float vibrato(float t, float rate, float depth, float delay) {
    const float ramp = std::fmin(1.0f, std::fmax(0.0f, (t - delay) / 0.4f));
    return 1 + depth * ramp * std::sin(TAU * rate * t);
}

Wave pad(float f, float held, float vel) {
    const Adsr env{0.35f, 1.2f, 0.8f, 0.35f};
    Wave w = blank(held + env.tail());
    Osc a(0.0f), b(0.31f), c(0.67f), sub(0.5f);
    Svf lp;
    for (size_t i = 0; i < w.size(); ++i) {
        const float t = i / SR;
        const float v = a.saw(f) + b.saw(f * 1.0045f) + c.saw(f * 0.9955f) + 0.4f * sub.sine(f * 0.5f);
        lp.run(v, 650 + 450 * std::sin(TAU * 0.15f * t) + 400 * vel, 0.8f);
        w[i] = 0.3f * vel * lp.low * env.at(t, held);
    }
    return w;
}

Wave organ(float f, float held, float vel) {
    const Adsr env{0.03f, 0.5f, 1.0f, 0.15f};
    const float harmonics[6] = {1, 2, 3, 4, 6, 8}, amps[6] = {1, 0.6f, 0.35f, 0.25f, 0.12f, 0.07f};
    Wave w = blank(held + env.tail());
    float phase[6] = {};
    for (size_t i = 0; i < w.size(); ++i) {
        const float t = i / SR, vib = vibrato(t, 5.6f, 0.0025f, 0.2f);
        float v = 0;
        for (int h = 0; h < 6; ++h) {
            if (f * harmonics[h] > 0.45f * SR) continue;
            phase[h] += TAU * f * harmonics[h] * vib / SR;
            v += amps[h] * std::sin(phase[h]);
        }
        w[i] = 0.22f * vel * v * env.at(t, held);
    }
    return w;
}

Wave choir(float f, float held, float vel, uint32_t seed) {
    const Adsr env{0.3f, 1.0f, 0.9f, 0.4f};
    Wave w = blank(held + env.tail());
    Osc a(0.1f), b(0.6f), c(0.35f);
    Svf f1, f2, f3;
    Rng rng(seed);
    for (size_t i = 0; i < w.size(); ++i) {
        const float t = i / SR, vib = vibrato(t, 4.8f, 0.006f, 0.25f);
        const float v = a.saw(f * vib) + b.saw(f * 1.006f * vib) + c.saw(f * 0.994f * vib) + 0.15f * rng.range(-1, 1);
        f1.run(v, 700, 5), f2.run(v, 1150, 6), f3.run(v, 2600, 7);
        w[i] = 0.22f * vel * (f1.band + 0.55f * f2.band + 0.25f * f3.band) * env.at(t, held);
    }
    return w;
}

Wave strings(float f, float held, float vel) {
    const Adsr env{0.15f, 0.8f, 0.85f, 0.3f};
    Wave w = blank(held + env.tail());
    Osc o[4] = {Osc(0.0f), Osc(0.25f), Osc(0.5f), Osc(0.75f)};
    const float detune[4] = {1, 1.005f, 0.995f, 1.002f};
    Svf lp;
    for (size_t i = 0; i < w.size(); ++i) {
        const float t = i / SR, vib = vibrato(t, 5.2f, 0.004f, 0.15f);
        float v = 0;
        for (int k = 0; k < 4; ++k) v += o[k].saw(f * detune[k] * vib);
        lp.run(v, 1800 + 900 * vel, 0.7f);
        w[i] = 0.16f * vel * lp.low * env.at(t, held);
    }
    return w;
}

Wave bass(float f, float held, float vel) {
    const Adsr env{0.004f, 0.25f, 0.6f, 0.07f};
    Wave w = blank(held + env.tail());
    Osc saw, sub;
    Svf lp;
    for (size_t i = 0; i < w.size(); ++i) {
        const float t = i / SR;
        lp.run(saw.saw(f) + 0.6f * sub.sine(f), 160 + 1300 * vel * std::exp(-t / 0.09f), 1.3f);
        w[i] = 0.45f * vel * std::tanh(1.4f * lp.low) * env.at(t, held);
    }
    return w;
}

// A string plucked: a noise burst circulating in a delay line that loses its top end.
Wave pluck(float f, float held, float vel, uint32_t seed) {
    Wave w = blank(held + 1.6f);
    std::vector<float> line(4096, 0.0f);
    const float delay = SR / f - 0.5f;
    Rng rng(seed);
    Svf burst;
    const int burstLen = static_cast<int>(delay) + 1;
    const float damp = held < 0.4f ? 0.994f : 0.997f;
    for (size_t i = 0; i < w.size(); ++i) {
        float excite = 0;
        if (static_cast<int>(i) < burstLen) burst.run(rng.range(-1, 1), 2500 + 3000 * vel, 0.7f), excite = burst.low;
        const float read = static_cast<float>(i) - delay;
        float fed = 0;
        if (read >= 1) {
            const int r = static_cast<int>(read);
            const float fr = read - r, x0 = line[r & 4095], x1 = line[(r - 1) & 4095], x2 = line[(r + 1) & 4095];
            fed = damp * 0.5f * ((x0 + fr * (x2 - x0)) + (x1 + fr * (x0 - x1)));
        }
        const float y = excite + fed;
        line[i & 4095] = y;
        w[i] = 0.5f * vel * y;
    }
    return w;
}

Wave lead(float f, float held, float vel) {
    const Adsr env{0.02f, 0.4f, 0.75f, 0.12f};
    Wave w = blank(held + env.tail());
    Osc o, o2(0.5f);
    Svf lp;
    for (size_t i = 0; i < w.size(); ++i) {
        const float t = i / SR, vib = vibrato(t, 5.5f, 0.009f, 0.22f);
        const float v = o.pulse(f * vib, 0.32f + 0.1f * std::sin(TAU * 0.7f * t)) + 0.5f * o2.saw(f * 1.003f * vib);
        lp.run(v, 1400 + 2200 * vel * std::exp(-t / 0.3f) + 600, 1.1f);
        w[i] = 0.2f * vel * lp.low * env.at(t, held);
    }
    return w;
}

// Two-operator FM with an inharmonic ratio: a bell whose brightness dies first.
Wave bell(float f, float held, float vel) {
    Wave w = blank(held + 3.0f);
    float pc = 0, pm = 0, p2 = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        const float t = i / SR, index = 2.4f * std::exp(-t / 0.5f);
        pm += TAU * f * 3.5f / SR;
        pc += TAU * f / SR;
        p2 += TAU * f * 2.76f / SR;
        const float v = std::sin(pc + index * std::sin(pm)) + 0.3f * std::sin(p2) * std::exp(-t / 0.4f);
        w[i] = 0.25f * vel * v * std::fmin(1.0f, t / 0.002f) * std::exp(-t / 1.4f);
    }
    return w;
}

Wave stab(float f, float held, float vel) {
    const Adsr env{0.003f, 0.22f, 0.35f, 0.08f};
    Wave w = blank(held + env.tail());
    Osc a, b(0.3f), c(0.6f), d(0.9f);
    Svf lp;
    for (size_t i = 0; i < w.size(); ++i) {
        const float t = i / SR;
        const float v = a.saw(f) + b.saw(f * 1.498f) + c.saw(f * 2.004f) + d.saw(f * 0.997f);
        lp.run(std::tanh(2.2f * v), 500 + 3200 * std::exp(-t / 0.12f), 0.9f);
        w[i] = 0.3f * vel * lp.low * env.at(t, held);
    }
    return w;
}

// A struck skin: a tone falling onto its pitch and a burst of filtered noise.
struct Skin {
    float seconds, sweep, sweepTime;  // the pitch starts (1 + sweep) times higher
    float tone, toneDecay;
    float noise, noiseDecay, noiseCutoff;
    bool highNoise;  // high-passed (a snare's wires) rather than low-passed
    bool saturate;
    float gain;
};

Wave skin(const Skin& k, float f, float vel, uint32_t seed) {
    Wave w = blank(k.seconds);
    Rng rng(seed);
    Svf filter;
    float phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        const float t = i / SR;
        phase += TAU * f * (1 + k.sweep * std::exp(-t / k.sweepTime)) / SR;
        filter.run(rng.range(-1, 1), k.noiseCutoff, 0.7f);
        const float v = k.tone * std::sin(phase) * std::exp(-t / k.toneDecay) +
                        k.noise * (k.highNoise ? filter.high : filter.low) * std::exp(-t / k.noiseDecay);
        w[i] = k.gain * vel * (k.saturate ? std::tanh(v) : v);
    }
    return w;
}

const Skin KICK{0.45f, 2.83f, 0.028f, 1.6f, 0.2f, 0.3f, 0.003f, 9000, false, true, 0.9f};
const Skin SNARE{0.38f, 0.22f, 0.02f, 0.55f, 0.05f, 0.8f, 0.11f, 1800, true, false, 0.7f};
const Skin TOM{0.9f, 0.6f, 0.035f, 1.3f, 0.3f, 0.5f, 0.04f, 900, false, true, 0.8f};

Wave hat(float vel, float decay, uint32_t seed) {
    Wave w = blank(decay * 5);
    Rng rng(seed);
    Svf hp;
    for (size_t i = 0; i < w.size(); ++i) {
        const float t = i / SR;
        hp.run(rng.range(-1, 1), 7000, 0.9f);
        w[i] = 0.35f * vel * hp.high * std::exp(-t / decay);
    }
    return w;
}

Wave timpani(float f, float vel, uint32_t seed) {
    Wave w = blank(2.6f);
    Rng rng(seed);
    Svf lp;
    float p1 = 0, p2 = 0, p3 = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        const float t = i / SR, drop = 1 + 0.04f * std::exp(-t / 0.08f);
        p1 += TAU * f * drop / SR, p2 += TAU * f * 1.504f * drop / SR, p3 += TAU * f * 1.992f * drop / SR;
        lp.run(rng.range(-1, 1), 600, 0.8f);
        const float tone = std::sin(p1) * std::exp(-t / 0.8f) + 0.5f * std::sin(p2) * std::exp(-t / 0.45f) +
                           0.25f * std::sin(p3) * std::exp(-t / 0.3f);
        w[i] = 0.7f * vel * (tone * std::fmin(1.0f, t / 0.003f) + 0.8f * lp.low * std::exp(-t / 0.03f));
    }
    return w;
}

// Six detuned square waves, high-passed: the metallic shimmer of a crash.
Wave cymbal(float vel, uint32_t seed) {
    Wave w = blank(2.8f);
    Rng rng(seed);
    const float freqs[6] = {263.0f, 400.0f, 421.0f, 531.0f, 588.0f, 807.0f};
    Osc o[6];
    Svf hp, hp2;
    for (size_t i = 0; i < w.size(); ++i) {
        const float t = i / SR;
        float metal = 0;
        for (int k = 0; k < 6; ++k) metal += o[k].pulse(freqs[k] * 1.7f, 0.5f);
        hp.run(metal + 2.0f * rng.range(-1, 1), 4500, 0.8f);
        hp2.run(hp.high, 3000, 0.7f);
        w[i] = 0.12f * vel * hp2.high * std::exp(-t / 0.9f) * std::fmin(1.0f, t / 0.002f);
    }
    return w;
}

}  // namespace

Wave renderNote(Instrument in, float f, float seconds, float vel, uint32_t seed) {
    Wave w;
    switch (in) {
        case Instrument::pad: w = pad(f, seconds, vel); break;
        case Instrument::organ: w = organ(f, seconds, vel); break;
        case Instrument::choir: w = choir(f, seconds, vel, seed); break;
        case Instrument::strings: w = strings(f, seconds, vel); break;
        case Instrument::bass: w = bass(f, seconds, vel); break;
        case Instrument::pluck: w = pluck(f, seconds, vel, seed); break;
        case Instrument::lead: w = lead(f, seconds, vel); break;
        case Instrument::bell: w = bell(f, seconds, vel); break;
        case Instrument::stab: w = stab(f, seconds, vel); break;
        case Instrument::kick: w = skin(KICK, 46, vel, seed); break;
        case Instrument::snare: w = skin(SNARE, 180, vel, seed); break;
        case Instrument::hat: w = hat(vel, 0.03f, seed); break;
        case Instrument::openHat: w = hat(vel, 0.16f, seed); break;
        case Instrument::tom: w = skin(TOM, f, vel, seed); break;
        case Instrument::timpani: w = timpani(f, vel, seed); break;
        case Instrument::cymbal: w = cymbal(vel, seed); break;
    }
    closeTail(w);
    return w;
}

namespace {
// Runs a filter over the loop `passes` times in a row and keeps the last pass: its state at the
// start is the state the loop's own end leaves, so nothing jumps where the loop closes.
template <typename Step>
Wave overLoop(const Wave& in, int passes, Step step) {
    Wave out(in.size());
    for (int p = 0; p < passes; ++p)
        for (size_t i = 0; i < in.size(); ++i) out[i] = step(in[i]);
    return out;
}

struct Comb {
    std::vector<float> line;
    size_t at = 0;
    float store = 0;
    explicit Comb(size_t n) : line(n, 0.0f) {}
    float run(float x, float feedback, float damping) {
        const float y = line[at];
        store = y * (1 - damping) + store * damping;
        line[at] = x + store * feedback;
        at = (at + 1) % line.size();
        return y;
    }
};

struct AllPass {
    std::vector<float> line;
    size_t at = 0;
    explicit AllPass(size_t n) : line(n, 0.0f) {}
    float run(float x) {
        const float b = line[at], y = b - x;
        line[at] = x + 0.5f * b;
        at = (at + 1) % line.size();
        return y;
    }
};
}  // namespace

Wave loopReverb(const Wave& send, int passes, float decay, float damping) {
    std::vector<Comb> combs;
    for (size_t n : {558u, 594u, 638u, 678u, 711u, 745u, 778u, 808u}) combs.emplace_back(n);
    std::vector<AllPass> allpasses;
    for (size_t n : {278u, 220u, 170u, 112u}) allpasses.emplace_back(n);
    return overLoop(send, passes, [&](float x) {
        float y = 0;
        for (Comb& c : combs) y += c.run(0.03f * x, decay, damping);
        for (AllPass& a : allpasses) y = a.run(y);
        return y;
    });
}

Wave loopHighPass(const Wave& in, int passes, float cutoff) {
    const float a = 1 - std::exp(-TAU * cutoff / SR);
    float low = 0;
    return overLoop(in, passes, [&](float x) {
        low += a * (x - low);
        return x - low;
    });
}

}  // namespace gen
