#include "sequencer.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

#include "noise.h"

namespace gen {

namespace {

struct Event {
    double step;  // start, in sixteenths
    double steps;
    std::vector<int> notes;  // MIDI numbers; empty for a drum hit
    float velocity;
};

int midiOf(const std::string& name) {
    static const int base[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.empty() || name[0] < 'A' || name[0] > 'G') throw std::runtime_error("bad note \"" + name + "\"");
    int n = base[name[0] - 'A'];
    size_t i = 1;
    for (; i < name.size() && (name[i] == '#' || name[i] == 'b'); ++i) n += name[i] == '#' ? 1 : -1;
    if (i >= name.size()) throw std::runtime_error("note without octave \"" + name + "\"");
    return n + 12 * (std::stoi(name.substr(i)) + 1);
}

std::string nameOf(int midi) {
    static const char* const names[12] = {"C", "C#", "D", "Eb", "E", "F", "F#", "G", "G#", "A", "Bb", "B"};
    return names[midi % 12] + std::to_string(midi / 12 - 1);
}

std::vector<Event> parseScore(const std::string& score) {
    std::vector<Event> events;
    std::istringstream in(score);
    std::string token;
    double at = 0, steps = 4;
    while (in >> token) {
        if (token == "|") continue;
        float velocity = 0.8f;
        if (token.back() == '!') velocity = 1.0f, token.pop_back();
        if (token.back() == '?') velocity = 0.55f, token.pop_back();
        const size_t colon = token.find(':');
        if (colon != std::string::npos) steps = std::stod(token.substr(colon + 1)), token.resize(colon);
        Event e{at, steps, {}, velocity};
        if (token != "-") {
            std::istringstream chord(token);
            for (std::string note; std::getline(chord, note, '+');) e.notes.push_back(midiOf(note));
            events.push_back(e);
        }
        at += steps;
    }
    events.push_back({at, 0, {}, 0});  // the end, for the length check
    return events;
}

std::vector<Event> parseGrid(const std::string& grid) {
    std::vector<Event> events;
    double at = 0;
    for (char c : grid) {
        if (c == ' ' || c == '|') continue;
        if (c == 'x' || c == 'o') events.push_back({at, 1, {}, c == 'x' ? 1.0f : 0.6f});
        at += 1;
    }
    events.push_back({at, 0, {}, 0});
    return events;
}

float frequencyOf(int midi) { return 440.0f * std::pow(2.0f, (midi - 69) / 12.0f); }

// The loudness of a track while it plays: RMS over the 50 ms blocks within 30 dB of the loudest.
float soundingRms(const Wave& w) {
    const size_t block = SAMPLE_RATE / 20;
    std::vector<double> energy;
    for (size_t i = 0; i + block <= w.size(); i += block) {
        double e = 0;
        for (size_t j = i; j < i + block; ++j) e += w[j] * w[j];
        energy.push_back(e / block);
    }
    double top = 0, sum = 0;
    for (double e : energy) top = std::fmax(top, e);
    int counted = 0;
    for (double e : energy)
        if (e >= top * 1e-3) sum += e, ++counted;
    return counted ? static_cast<float>(std::sqrt(sum / counted)) : 0.0f;
}

// Lays every note of a track into a loop of n samples; what runs past the end wraps to the start.
Wave renderTrack(const Track& track, double stepSamples, size_t n, double expectedSteps, Rng& rng) {
    const std::vector<Event> events = track.grid ? parseGrid(track.score) : parseScore(track.score);
    if (std::fabs(events.back().step - expectedSteps) > 1e-9) {
        std::ostringstream why;
        why << "a score of " << events.back().step << " steps where the piece has " << expectedSteps;
        throw std::runtime_error(why.str());
    }
    Wave out(n, 0.0f);
    const double stepSeconds = stepSamples / SAMPLE_RATE;
    for (size_t k = 0; k + 1 < events.size(); ++k) {
        const Event& e = events[k];
        const float velocity = e.velocity * rng.range(0.92f, 1.0f);
        const size_t start = static_cast<size_t>(std::lround(e.step * stepSamples));
        const float held = static_cast<float>(e.steps * stepSeconds * 0.92);
        std::vector<int> notes = e.notes;
        if (notes.empty()) notes.push_back(0);
        for (int note : notes) {
            const Wave w = renderNote(track.instrument, note ? frequencyOf(note) : 0.0f, held, velocity, rng.next());
            for (size_t i = 0; i < w.size(); ++i) out[(start + i) % n] += w[i];
        }
    }
    return out;
}

}  // namespace

std::string repeat(const std::string& s, int times) {
    std::string r;
    for (int i = 0; i < times; ++i) r += s + " ";
    return r;
}

std::string figure(const std::string& root, const std::vector<int>& intervals, int steps) {
    const int base = midiOf(root);
    std::string r;
    for (int i : intervals) r += nameOf(base + i) + ":" + std::to_string(steps) + " ";
    return r;
}

Wave renderPiece(const Piece& piece, float peak) {
    const double beatSamples = SAMPLE_RATE * 60.0 / piece.bpm;
    const size_t n = static_cast<size_t>(std::lround(beatSamples * 4 * piece.bars));
    Wave dry(n, 0.0f), send(n, 0.0f);
    Rng rng(piece.seed);
    for (const Track& track : piece.tracks) {
        Wave w;
        try {
            w = renderTrack(track, beatSamples / 4, n, 16.0 * piece.bars, rng);
        } catch (const std::runtime_error& e) {
            throw std::runtime_error("track " + std::to_string(&track - piece.tracks.data()) + ": " + e.what());
        }
        const float rms = soundingRms(w);
        const float gain = rms > 0 ? 0.1f * std::pow(10.0f, track.level / 20) / rms : 0.0f;
        for (size_t i = 0; i < n; ++i) dry[i] += gain * w[i], send[i] += gain * track.reverb * w[i];
    }
    // Three passes: the reverb's tail from the loop's end is in place at its start.
    const Wave wet = loopReverb(send, 3, piece.reverbDecay, 0.3f);
    for (size_t i = 0; i < n; ++i) dry[i] += wet[i];
    Wave out = loopHighPass(dry, 3, 25.0f);
    float top = 1e-6f;
    for (float v : out) top = std::fmax(top, std::fabs(v));
    for (float& v : out) v *= peak / top;
    return out;
}

}  // namespace gen
