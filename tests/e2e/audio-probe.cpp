// What reached the sound output, captured by ALSA as raw signed 16-bit stereo.
//   audio-probe level FILE FROM TO  prints the RMS (dB of full scale) and peak (share of full scale)
//                                   of the capture's bytes FROM..TO
//   audio-probe cannon ROOT         plays four Impact Cannon shots fired 8 ticks apart over the
//                                   first level's music, all at full volume, through the library
#include <allegro.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int level(const char* path, long from, long to) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return std::fprintf(stderr, "audio-probe: cannot open %s\n", path), 1;
    from &= ~3L, to &= ~3L;
    std::vector<short> v(static_cast<size_t>(to > from ? (to - from) / 2 : 0));
    std::fseek(f, from, SEEK_SET);
    v.resize(std::fread(v.data(), 2, v.size(), f));
    std::fclose(f);
    if (v.empty()) return std::fprintf(stderr, "audio-probe: nothing captured between %ld and %ld\n", from, to), 1;
    double sum = 0, peak = 0;
    for (short s : v) sum += static_cast<double>(s) * s, peak = std::fmax(peak, std::fabs(s / 32768.0));
    std::printf("%.1f %.4f\n", 10 * std::log10(sum / v.size() / (32768.0 * 32768.0) + 1e-30), peak);
    return 0;
}

// The shot behind `delay` samples of silence: four of them started together are four shots fired
// one after another, whatever the moment the mixer starts them.
SAMPLE* delayed(const SAMPLE* shot, unsigned long delay) {
    SAMPLE* s = create_sample(16, 0, shot->freq, shot->len + delay);
    auto* to = static_cast<unsigned short*>(s->data);
    for (unsigned long i = 0; i < delay; ++i) to[i] = 0x8000;
    std::memcpy(to + delay, shot->data, shot->len * 2);
    return s;
}

int cannon(const std::string& root) {
    if (allegro_init() != 0 || install_timer() != 0) return std::fprintf(stderr, "audio-probe: no library\n"), 1;
    if (install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) != 0 || !digi_driver || digi_driver->id == DIGI_NONE)
        return std::fprintf(stderr, "audio-probe: no sound output: %s\n", allegro_error), 1;
    SAMPLE* shot = load_sample((root + "/sfx/shoot2.wav").c_str());
    SAMPLE* music = load_sample((root + "/sfx/music_level1.wav").c_str());
    if (!shot || shot->bits != 16 || !music) return std::fprintf(stderr, "audio-probe: sounds not found\n"), 1;
    std::vector<SAMPLE*> shots;
    std::vector<int> voices;
    for (unsigned long k = 0; k < 4; ++k) {
        shots.push_back(delayed(shot, k * shot->freq * 8 / 32));
        voices.push_back(allocate_voice(shots.back()));
        voice_set_volume(voices.back(), 255);
        voice_set_pan(voices.back(), 127);  // as the game plays its shots
    }
    play_sample(music, 255, 128, 1000, 0);
    for (int v : voices) voice_start(v);
    rest(3000);  // the capture runs faster than real time; this covers the four shots
    for (int v : voices) deallocate_voice(v);
    for (SAMPLE* s : shots) destroy_sample(s);
    destroy_sample(shot), destroy_sample(music);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "level") return level(argv[2], std::atol(argv[3]), std::atol(argv[4]));
    if (argc == 3 && std::string(argv[1]) == "cannon") return cannon(argv[2]);
    std::fprintf(stderr, "usage: audio-probe level FILE FROM TO | audio-probe cannon ROOT\n");
    return 2;
}
END_OF_MAIN()
