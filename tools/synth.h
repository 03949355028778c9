// Synth: the little synthesiser behind the game's sounds. Everything is float samples at RATE Hz,
// -1..1. Loops are rendered on a circular track: a note that rings past the end of the loop goes on at its
// beginning, and the echo and filters run round twice, so the end flows into the start without a seam.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Synth {

const int RATE = 32000;

typedef std::vector<float> Mono;

struct Stereo {
    Mono l, r;
};

Stereo MakeStereo(size_t samples);
// Adds `src` at sample `at` with gain and pan (-1 left .. 1 right); with wrap, what passes the end goes on
// at the start, otherwise it is cut off.
void Add(Stereo &dst, const Mono &src, long at, float gain, float pan, bool wrap);
void AddMono(Mono &dst, const Mono &src, long at, float gain);

// Frequency of a MIDI note (69 = A 440 Hz).
float Hz(int midi);
// A deterministic noise source, -1..1.
float Noise(uint32_t &state);

// ---- instruments: each returns one note, its length in seconds as asked plus its release --------------

Mono Kick(float gain = 1.0f);
Mono Snare();
Mono Hat(float length);
Mono Bass(float hz, float seconds);                     // round saw bass through a closing filter
Mono Pluck(float hz, float seconds);                    // a plucked string (Karplus-Strong)
Mono Bell(float hz, float seconds);                     // soft FM bell / marimba
Mono Lead(float hz, float seconds);                     // square lead with a little vibrato
Mono Pad(const std::vector<float> &hz, float seconds);  // detuned saws, slow in and out
Mono Brass(float hz, float seconds, float bendTo);      // a sad trombone-like note that bends down

// ---- effects -------------------------------------------------------------------------------------------

// A ping-pong echo; `circular` treats the track as a loop.
void Echo(Stereo &s, float seconds, float feedback, float mix, bool circular);
// A gentle one-pole low-pass on both channels; `circular` treats the track as a loop.
void LowPass(Stereo &s, float hz, bool circular);
// Scales to `rmsDb` (RMS over the parts that sound) and keeps every peak under `peakDb` with a soft limiter.
void Level(Stereo &s, float rmsDb, float peakDb);
// Fades in over `in` and out over `out` seconds (for the pieces that do not loop).
void Fade(Stereo &s, float in, float out);

// Peak and RMS (over the parts that sound) in dBFS.
void Measure(const Stereo &s, float &peakDb, float &rmsDb);

// ---- files ---------------------------------------------------------------------------------------------

// Reads a 16-bit PCM WAV file (any rate, mono or stereo) as mono at RATE; empty when it cannot.
Mono ReadWav(const std::string &path);
// Encodes to an MP3 at RATE with the gapless (LAME/Info) header, so a decoder that honours it gives back
// exactly the samples given; kbps is the constant bit rate. FALSE on failure.
bool WriteMp3(const Stereo &s, bool stereo, int kbps, const std::string &path);

}  // namespace Synth
