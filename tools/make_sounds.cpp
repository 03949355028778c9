// make_sounds: composes every sound of the game and writes them as MP3s.
// Usage: make_sounds <audio folder> <scratch folder for the spoken words>
// The three music pieces loop: each is a whole number of bars, rendered round a circle (notes and echoes
// that ring past the end go on at the start), and written with the gapless header so that the decoder
// hands back exactly those samples. Spoken words come from espeak-ng when it is installed.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "synth.h"

using namespace Synth;

// ---- types ---------------------------------------------------------------------------------------------

// A piece on a grid of sixteenth notes.
struct Piece {
    long step;  // samples per sixteenth
    int bars;
    bool loop;
    Stereo out;
};

struct Hit {
    int at, len, note;  // sixteenths within the bar, length in sixteenths, MIDI note
};

// ---- state -------------------------------------------------------------------------------------------

static int failures = 0;
static std::string audioDir, voiceDir;

// ---- internal ------------------------------------------------------------------------------------------

static Piece MakePiece(int bpm, int bars, bool loop) {
    Piece p;
    p.step = (long)RATE * 60 / bpm / 4;  // every tempo here gives a whole number of samples
    p.bars = bars;
    p.loop = loop;
    p.out = MakeStereo((size_t)(p.step * 16 * bars));
    return p;
}

static float Secs(const Piece &p, int steps) { return (float)(p.step * steps) / RATE; }

static void Put(Piece &p, const Mono &m, int bar, int step, float gain, float pan) {
    Add(p.out, m, (long)(bar * 16 + step) * p.step, gain, pan, p.loop);
}

static void Write(const char *name, Stereo &s, bool stereo) {
    float peak, rms;
    Measure(s, peak, rms);
    std::string path = audioDir + "/" + name;
    bool ok = WriteMp3(s, stereo, stereo ? 128 : 96, path);
    std::printf("  %-22s %6.2f s  peak %6.1f dBFS  rms %6.1f dBFS%s\n", name, (double)s.l.size() / RATE, peak, rms,
                ok ? "" : "  NOT WRITTEN");
    if (!ok) ++failures;
}

// Every piece is brought to the same loudness; the game's volume table does the mixing.
static const float kRmsDb = -16.0f, kPeakDb = -1.0f;

// ---- music ------------------------------------------------------------------------------------------------

// Friendly and easy-going: C major at 100 beats a minute, twelve bars.
static void MenuMusic() {
    Piece p = MakePiece(100, 12, true);
    const std::vector<std::vector<int>> chords = {{60, 64, 67}, {59, 62, 67}, {57, 60, 64}, {57, 60, 65},
                                                  {60, 64, 67}, {59, 62, 67}, {57, 60, 65}, {59, 62, 67},
                                                  {57, 60, 64}, {57, 60, 65}, {60, 64, 67}, {59, 62, 67}};
    const int roots[12] = {36, 43, 45, 41, 36, 43, 41, 43, 45, 41, 36, 43};
    const std::vector<std::vector<Hit>> tune = {{{0, 6, 76}, {6, 2, 74}, {8, 4, 72}, {12, 4, 67}},
                                                {{0, 4, 74}, {4, 4, 71}, {8, 2, 74}, {10, 2, 76}, {12, 4, 74}},
                                                {{0, 6, 72}, {6, 2, 71}, {8, 8, 69}},
                                                {{0, 4, 69}, {4, 4, 72}, {8, 4, 77}, {12, 4, 76}},
                                                {{0, 6, 79}, {6, 2, 76}, {8, 4, 72}, {12, 4, 76}},
                                                {{0, 8, 74}, {8, 4, 71}, {12, 4, 67}},
                                                {{0, 2, 69}, {2, 2, 72}, {4, 4, 77}, {8, 6, 81}, {14, 2, 79}},
                                                {{0, 8, 79}, {8, 4, 74}, {12, 4, 71}},
                                                {{0, 4, 76}, {4, 4, 81}, {8, 4, 79}, {12, 4, 76}},
                                                {{0, 6, 77}, {6, 2, 76}, {8, 8, 72}},
                                                {{0, 4, 76}, {4, 4, 79}, {8, 4, 84}, {12, 4, 79}},
                                                {{0, 8, 74}, {8, 4, 71}, {12, 4, 74}}};
    Mono kick = Kick(0.9f), snare = Snare(), hat = Hat(0.05f);
    for (int bar = 0; bar < 12; ++bar) {
        std::vector<float> hz;
        for (int n : chords[bar]) hz.push_back(Hz(n));
        Put(p, Pad(hz, Secs(p, 16)), bar, 0, 0.22f, 0);
        const std::vector<int> &c = chords[bar];
        const int arp[8] = {c[0] + 12, c[1] + 12, c[2] + 12, c[0] + 24, c[2] + 12, c[1] + 12, c[0] + 12, c[1] + 12};
        for (int s = 0; s < 16; s += 2)
            Put(p, Pluck(Hz(arp[s / 2]), Secs(p, 2)), bar, s, 0.16f, (s % 4) ? 0.5f : -0.5f);
        Put(p, Bass(Hz(roots[bar]), Secs(p, 5)), bar, 0, 0.5f, 0);
        Put(p, Bass(Hz(roots[bar]), Secs(p, 1)), bar, 6, 0.35f, 0);
        Put(p, Bass(Hz(roots[bar] + 7), Secs(p, 5)), bar, 8, 0.45f, 0);
        Put(p, Bass(Hz(roots[bar] + 12), Secs(p, 1)), bar, 14, 0.3f, 0);
        Put(p, kick, bar, 0, 0.7f, 0);
        Put(p, kick, bar, 8, 0.6f, 0);
        if (bar % 2) Put(p, kick, bar, 10, 0.4f, 0);
        Put(p, snare, bar, 4, 0.28f, 0.1f);
        Put(p, snare, bar, 12, 0.28f, 0.1f);
        for (int s = 2; s < 16; s += 4) Put(p, hat, bar, s, 0.22f, 0.3f);
        for (const Hit &h : tune[bar]) {
            Put(p, Bell(Hz(h.note), Secs(p, h.len)), bar, h.at, 0.42f, -0.15f);
            Put(p, Lead(Hz(h.note - 12), Secs(p, h.len) * 0.9f), bar, h.at, 0.07f, 0.15f);
        }
    }
    Echo(p.out, Secs(p, 3), 0.35f, 0.25f, true);
    LowPass(p.out, 9000, true);
    Level(p.out, kRmsDb, kPeakDb);
    Write("menumusic.mp3", p.out, true);
}

// Driving: A minor at 150 beats a minute, four-on-the-floor, a running bass and a riff; sixteen bars.
static void GameMusic() {
    Piece p = MakePiece(150, 16, true);
    // Root (MIDI, octave 4) and third (3 minor, 4 major) of each bar.
    const int roots[16] = {57, 57, 53, 55, 57, 57, 53, 52, 50, 50, 57, 57, 53, 55, 52, 52};
    const int thirds[16] = {3, 3, 4, 4, 3, 3, 4, 4, 3, 3, 3, 3, 4, 4, 4, 4};
    Mono kick = Kick(1.0f), snare = Snare(), hat = Hat(0.04f), open = Hat(0.18f);
    for (int bar = 0; bar < 16; ++bar) {
        int r = roots[bar], t = thirds[bar];
        for (int s = 0; s < 16; s += 4) Put(p, kick, bar, s, 0.8f, 0);
        Put(p, snare, bar, 4, 0.45f, 0.05f);
        Put(p, snare, bar, 12, 0.45f, 0.05f);
        if (bar % 4 == 3) {
            Put(p, snare, bar, 14, 0.3f, -0.1f);
            Put(p, snare, bar, 15, 0.35f, 0.1f);
        }
        for (int s = 0; s < 16; ++s)
            if (s != 14) Put(p, hat, bar, s, (s % 2) ? 0.16f : 0.1f, 0.35f);
        Put(p, open, bar, 14, 0.2f, 0.35f);
        for (int s = 0; s < 16; s += 2)
            Put(p, Bass(Hz(r - 24 + ((s % 4) ? 12 : 0)), Secs(p, 2) * 0.8f), bar, s, 0.42f, 0);
        for (int s = 2; s < 16; s += 4) {
            std::vector<float> chord = {Hz(r), Hz(r + t), Hz(r + 7)};
            Mono stab = Pad(chord, Secs(p, 1));
            Put(p, stab, bar, s, 0.22f, -0.35f);
        }
        std::vector<Hit> riff;
        if (bar >= 8 && bar < 12) {
            riff = {{0, 8, 12}, {8, 4, 7}, {12, 4, t}};
        } else if (bar % 2 == 0) {
            riff = {{0, 3, 12}, {3, 3, 7}, {6, 2, 12}, {8, 4, 12 + t}, {12, 2, 14}, {14, 2, 12}};
        } else {
            riff = {{0, 4, 7}, {4, 2, t}, {6, 2, 5}, {8, 6, 7}, {14, 2, 10}};
        }
        for (const Hit &h : riff) Put(p, Lead(Hz(r + h.note), Secs(p, h.len) * 0.92f), bar, h.at, 0.24f, 0.15f);
    }
    Echo(p.out, Secs(p, 3), 0.25f, 0.18f, true);
    LowPass(p.out, 10000, true);
    Level(p.out, kRmsDb, kPeakDb);
    Write("ingamemusic.mp3", p.out, true);
}

// Calm and curious, for building: soft bells over a walking bass in D at 96 beats a minute; twelve bars.
static void BuilderMusic() {
    Piece p = MakePiece(96, 12, true);
    const std::vector<std::vector<int>> chords = {
        {62, 65, 69, 72}, {59, 62, 65, 67}, {62, 65, 69, 72}, {59, 62, 65, 67}, {65, 69, 72, 76}, {64, 67, 71, 74},
        {62, 65, 69, 72}, {60, 64, 67, 71}, {58, 62, 65, 69}, {57, 60, 64, 67}, {55, 58, 62, 65}, {57, 61, 64, 67}};
    const int roots[12] = {38, 43, 38, 43, 41, 40, 38, 36, 46, 45, 43, 45};
    Mono kick = Kick(0.6f), hat = Hat(0.07f), rim = Snare();
    for (int bar = 0; bar < 12; ++bar) {
        const std::vector<int> &c = chords[bar];
        std::vector<float> hz;
        for (int n : c) hz.push_back(Hz(n));
        Put(p, Pad(hz, Secs(p, 16)), bar, 0, 0.14f, 0);
        const int arp[8] = {c[0], c[1], c[2], c[3], c[2] + 12, c[3], c[2], c[1]};
        for (int s = 0; s < 16; s += 2)
            Put(p, Bell(Hz(arp[s / 2] + 12), Secs(p, 2)), bar, s, 0.2f, (s % 4) ? 0.45f : -0.45f);
        int next = roots[(bar + 1) % 12];
        const int walk[4] = {roots[bar], roots[bar] + 7, roots[bar] + 12, next + (next > roots[bar] ? -1 : 1)};
        for (int q = 0; q < 4; ++q) Put(p, Bass(Hz(walk[q]), Secs(p, 3)), bar, q * 4, 0.42f, 0);
        Put(p, kick, bar, 0, 0.5f, 0);
        Put(p, kick, bar, 8, 0.4f, 0);
        for (int s = 2; s < 16; s += 4) Put(p, hat, bar, s, 0.14f, 0.3f);
        Put(p, rim, bar, 12, 0.12f, -0.2f);
        Put(p, Bell(Hz(c[3] + 24), Secs(p, 6)), bar, 0, 0.26f, 0.1f);
        Put(p, Bell(Hz(c[2] + 24), Secs(p, 2)), bar, 6, 0.2f, 0.1f);
        Put(p, Bell(Hz(c[1] + 24), Secs(p, 6)), bar, 10, 0.22f, 0.1f);
    }
    Echo(p.out, Secs(p, 3), 0.4f, 0.3f, true);
    LowPass(p.out, 8000, true);
    Level(p.out, kRmsDb, kPeakDb);
    Write("customizermusic.mp3", p.out, true);
}

// The loading jingle: a rising run, the game's little fanfare and a final chord that rings out; 8 s.
static void Jingle() {
    Piece p = MakePiece(120, 4, false);  // 4 bars of 2 s
    const int run[8] = {60, 64, 67, 72, 76, 79, 84, 88};
    for (int i = 0; i < 8; ++i) {
        Put(p, Pluck(Hz(run[i]), Secs(p, 2)), 0, i, 0.35f, -0.6f + i * 0.17f);
        Put(p, Bell(Hz(run[i]), Secs(p, 1)), 0, i, 0.25f, 0.6f - i * 0.17f);
    }
    Put(p, Pad({Hz(60), Hz(64), Hz(67), Hz(72)}, Secs(p, 22)), 0, 8, 0.3f, 0);
    const Hit fanfare[6] = {{8, 2, 67}, {10, 2, 69}, {12, 4, 72}, {16, 2, 76}, {18, 2, 74}, {20, 8, 79}};
    for (const Hit &h : fanfare) {
        Put(p, Lead(Hz(h.note), Secs(p, h.len) * 0.9f), 0, h.at, 0.3f, 0.1f);
        Put(p, Bell(Hz(h.note + 12), Secs(p, h.len)), 0, h.at, 0.2f, -0.1f);
    }
    Mono kick = Kick(1.0f), snare = Snare();
    for (int s = 0; s < 8; ++s) Put(p, snare, 1, 8 + s, 0.1f + 0.05f * s, 0);
    const int chord[5] = {48, 60, 64, 67, 72};
    std::vector<float> hz;
    for (int n : chord) hz.push_back(Hz(n));
    Put(p, Pad(hz, 3.2f), 2, 0, 0.45f, 0);
    for (int n : chord) Put(p, Bell(Hz(n + 12), 3.0f), 2, 0, 0.18f, 0);
    Put(p, kick, 2, 0, 0.9f, 0);
    Put(p, Hat(1.6f), 2, 0, 0.35f, 0.2f);
    Put(p, Bass(Hz(36), 3.0f), 2, 0, 0.5f, 0);
    Echo(p.out, Secs(p, 3), 0.3f, 0.25f, false);
    Fade(p.out, 0, 0.9f);
    Level(p.out, kRmsDb, kPeakDb);
    Write("laden.mp3", p.out, true);
}

// ---- effects ------------------------------------------------------------------------------------------

static void Laser() {
    Stereo s = MakeStereo((size_t)(0.32f * RATE));
    float ph = 0, ph2 = 0;
    for (size_t i = 0; i < s.l.size(); ++i) {
        float t = (float)i / RATE;
        float f = 2100 * std::exp(-t * 15) + 160;
        ph += f / RATE;
        ph2 += f * 1.5f / RATE;
        float v = 0.6f * std::sin(6.2831853f * ph) + 0.4f * ((ph2 - std::floor(ph2)) < 0.5f ? 1.0f : -1.0f) * 0.5f;
        v *= std::exp(-t * 11) * std::min(1.0f, t / 0.003f);
        s.l[i] = s.r[i] = v;
    }
    Echo(s, 0.06f, 0.3f, 0.3f, false);
    Level(s, kRmsDb, kPeakDb);
    Write("laser.mp3", s, false);
}

static void Beep() {
    Stereo s = MakeStereo((size_t)(0.2f * RATE));
    float ph = 0;
    for (size_t i = 0; i < s.l.size(); ++i) {
        float t = (float)i / RATE;
        float f = t < 0.06f ? 988.0f : 1319.0f;
        ph += f / RATE;
        float sq = (ph - std::floor(ph)) < 0.5f ? 1.0f : -1.0f;
        float v = 0.5f * sq + 0.5f * std::sin(6.2831853f * ph);
        float env = std::min(1.0f, t / 0.003f) * (t < 0.06f ? 1.0f : std::exp(-(t - 0.06f) * 22));
        s.l[i] = s.r[i] = v * env * 0.5f;
    }
    Level(s, kRmsDb, kPeakDb);
    Write("beep.mp3", s, false);
}

static void GameOver() {
    Stereo s = MakeStereo((size_t)(3.4f * RATE));
    const float notes[4][3] = {{55, 0.42f, 55}, {54, 0.42f, 54}, {53, 0.42f, 53}, {52, 1.5f, 50.5f}};
    float t = 0.05f;
    for (const auto &n : notes) {
        Add(s, Brass(Hz((int)n[0]), n[1], Hz(0) * std::pow(2.0f, (n[2] - 0) / 12.0f)), (long)(t * RATE), 0.8f, 0,
            false);
        t += n[1] + 0.08f;
    }
    Add(s, Pad({Hz(40), Hz(47)}, 2.6f), (long)(0.05f * RATE), 0.25f, 0, false);
    Echo(s, 0.18f, 0.25f, 0.2f, false);
    Fade(s, 0, 0.4f);
    Level(s, kRmsDb, kPeakDb);
    Write("gameover.mp3", s, false);
}

// ---- spoken words ----------------------------------------------------------------------------------------

// The word spoken by espeak-ng, or empty when it is not there.
static Mono Speak(const std::string &word, const std::string &file, int speed, int pitch) {
    std::string wav = voiceDir + "/" + file + ".wav";
    std::string cmd = "espeak-ng -v en-us -s " + std::to_string(speed) + " -p " + std::to_string(pitch) +
                      " -a 160 -w '" + wav + "' '" + word + "' 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) return Mono();
    Mono m = ReadWav(wav);
    // Trim the silence espeak puts round the word.
    size_t a = 0, b = m.size();
    while (a < b && std::fabs(m[a]) < 0.01f) ++a;
    while (b > a && std::fabs(m[b - 1]) < 0.01f) --b;
    return Mono(m.begin() + (long)a, m.begin() + (long)b);
}

// A spoken word after `chimes` rising bells; a plain tone when there is no speech synthesiser.
static void Word(const char *name, const std::string &word, int chimes, int speed, int pitch) {
    Mono voice = Speak(word, name, speed, pitch);
    float start = chimes ? 0.08f + 0.09f * chimes : 0.0f;
    if (voice.empty()) {
        std::fprintf(stderr, "make_sounds: espeak-ng gave nothing for \"%s\"; a tone stands in\n", word.c_str());
        voice = Bell(Hz(72 + chimes * 2), 0.3f);
    }
    Stereo s = MakeStereo((size_t)(start * RATE) + voice.size() + (size_t)(0.35f * RATE));
    const int bells[3] = {84, 88, 91};
    for (int i = 0; i < chimes; ++i) Add(s, Bell(Hz(bells[i]), 0.2f), (long)(i * 0.09f * RATE), 0.3f, 0, false);
    Add(s, voice, (long)(start * RATE), 1.0f, 0, false);
    Echo(s, 0.11f, 0.2f, 0.15f, false);
    Level(s, kRmsDb, kPeakDb);
    Write((std::string(name) + ".mp3").c_str(), s, false);
}

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_sounds <audio folder> <scratch folder>\n");
        return 2;
    }
    audioDir = argv[1];
    voiceDir = argv[2];
    mkdir(voiceDir.c_str(), 0755);
    std::printf("make_sounds: level of every sound (target %.0f dBFS RMS, peaks under %.0f dBFS)\n", kRmsDb, kPeakDb);
    MenuMusic();
    GameMusic();
    BuilderMusic();
    Jingle();
    Laser();
    Beep();
    GameOver();
    Word("3", "three", 0, 150, 40);
    Word("2", "two", 0, 150, 40);
    Word("1", "one", 0, 150, 40);
    Word("easy", "easy", 1, 150, 55);
    Word("medium", "medium", 2, 150, 55);
    Word("hard", "hard", 3, 150, 55);
    if (failures) std::fprintf(stderr, "make_sounds: %d sounds were not written\n", failures);
    return failures ? 1 : 0;
}
