// Synth: instruments, effects, levels and the WAV reader and MP3 writer of the sound generator.
#include "synth.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace Synth {

// ---- internal ------------------------------------------------------------------------------------------

static const float kTau = 6.28318531f;

static float PolyBlep(float t, float dt) {
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

// A band-limited saw (phase 0..1 advanced by dt per sample).
static float Saw(float &phase, float dt) {
    float v = 2 * phase - 1 - PolyBlep(phase, dt);
    phase += dt;
    if (phase >= 1) phase -= 1;
    return v;
}

// A band-limited pulse of width w.
static float Pulse(float &phase, float dt, float w) {
    float v = phase < w ? 1.0f : -1.0f;
    v += PolyBlep(phase, dt);
    float t2 = phase - w;
    if (t2 < 0) t2 += 1;
    v -= PolyBlep(t2, dt);
    phase += dt;
    if (phase >= 1) phase -= 1;
    return v;
}

static float Smooth01(float x) {
    x = std::min(1.0f, std::max(0.0f, x));
    return x * x * (3 - 2 * x);
}

static size_t Samples(float seconds) { return (size_t)std::max(0.0f, seconds * RATE); }

// Attack, hold at 1 up to `length`, then release, all in seconds.
static float Envelope(float t, float attack, float length, float release) {
    if (t < attack) return t / attack;
    if (t < length) return 1;
    float r = (t - length) / release;
    return r >= 1 ? 0 : (1 - r) * (1 - r);
}

// ---- basics --------------------------------------------------------------------------------------------

Stereo MakeStereo(size_t n) {
    Stereo s;
    s.l.assign(n, 0);
    s.r.assign(n, 0);
    return s;
}

void Add(Stereo &dst, const Mono &src, long at, float gain, float pan, bool wrap) {
    const long n = (long)dst.l.size();
    if (n == 0) return;
    // Equal-power pan.
    float a = (pan + 1) * 0.25f * 3.14159265f;
    float gl = gain * std::cos(a), gr = gain * std::sin(a);
    for (size_t k = 0; k < src.size(); ++k) {
        long i = at + (long)k;
        if (wrap) {
            i %= n;
            if (i < 0) i += n;
        } else if (i < 0 || i >= n) {
            continue;
        }
        dst.l[i] += src[k] * gl;
        dst.r[i] += src[k] * gr;
    }
}

void AddMono(Mono &dst, const Mono &src, long at, float gain) {
    for (size_t k = 0; k < src.size(); ++k) {
        long i = at + (long)k;
        if (i >= 0 && i < (long)dst.size()) dst[i] += src[k] * gain;
    }
}

float Hz(int midi) { return 440.0f * std::pow(2.0f, (midi - 69) / 12.0f); }

float Noise(uint32_t &state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return (state & 0xFFFFFF) / 8388607.5f - 1.0f;
}

// ---- instruments -------------------------------------------------------------------------------------------

Mono Kick(float gain) {
    Mono m(Samples(0.4f));
    float phase = 0;
    uint32_t ns = 12345;
    for (size_t i = 0; i < m.size(); ++i) {
        float t = (float)i / RATE;
        float f = 46 + 110 * std::exp(-t * 28);
        phase += f / RATE;
        float v = std::sin(kTau * phase) * std::exp(-t * 8.5f);
        if (t < 0.004f) v += Noise(ns) * 0.4f * (1 - t / 0.004f);
        m[i] = v * gain;
    }
    return m;
}

Mono Snare() {
    Mono m(Samples(0.28f));
    uint32_t ns = 777;
    float lp = 0, phase = 0;
    for (size_t i = 0; i < m.size(); ++i) {
        float t = (float)i / RATE;
        float n = Noise(ns);
        lp += 0.35f * (n - lp);
        float hp = n - lp;
        phase += 190.0f / RATE;
        m[i] = hp * 0.8f * std::exp(-t * 16) + std::sin(kTau * phase) * 0.5f * std::exp(-t * 30);
    }
    return m;
}

Mono Hat(float length) {
    Mono m(Samples(length + 0.02f));
    uint32_t ns = 4242;
    float lp = 0;
    float k = 4.6f / length;
    for (size_t i = 0; i < m.size(); ++i) {
        float t = (float)i / RATE;
        float n = Noise(ns);
        lp += 0.6f * (n - lp);
        m[i] = (n - lp) * std::exp(-t * k) * 0.6f;
    }
    return m;
}

Mono Bass(float hz, float seconds) {
    const float release = 0.06f;
    Mono m(Samples(seconds + release));
    float p1 = 0, p2 = 0.5f, ps = 0, y = 0;
    for (size_t i = 0; i < m.size(); ++i) {
        float t = (float)i / RATE;
        float cutoff = 250 + 1400 * std::exp(-t * 9);
        float a = 1 - std::exp(-kTau * cutoff / RATE);
        float v = 0.5f * Saw(p1, hz / RATE) + 0.5f * Saw(p2, hz * 1.004f / RATE);
        y += a * (v - y);
        ps += hz / RATE;
        float sub = std::sin(kTau * ps) * 0.6f;
        m[i] = (y * 0.7f + sub) * Envelope(t, 0.004f, seconds, release);
    }
    return m;
}

Mono Pluck(float hz, float seconds) {
    Mono m(Samples(seconds + 0.6f));
    size_t period = std::max<size_t>(2, (size_t)std::lround(RATE / hz));
    std::vector<float> ring(period);
    uint32_t ns = (uint32_t)(hz * 1000) | 1;
    float lp = 0;
    for (size_t i = 0; i < period; ++i) {
        lp += 0.5f * (Noise(ns) - lp);
        ring[i] = lp;
    }
    size_t idx = 0;
    for (size_t i = 0; i < m.size(); ++i) {
        float t = (float)i / RATE;
        size_t nxt = (idx + 1) % period;
        float v = ring[idx];
        ring[idx] = 0.996f * 0.5f * (ring[idx] + ring[nxt]);
        idx = nxt;
        m[i] = v * Envelope(t, 0.002f, seconds, 0.6f);
    }
    return m;
}

Mono Bell(float hz, float seconds) {
    Mono m(Samples(seconds + 1.0f));
    float pc = 0, pm = 0;
    for (size_t i = 0; i < m.size(); ++i) {
        float t = (float)i / RATE;
        float index = 2.2f * std::exp(-t * 9);
        pm += hz * 4.0f / RATE;
        pc += hz / RATE;
        float v = std::sin(kTau * pc + index * std::sin(kTau * pm));
        m[i] = v * std::exp(-t * 3.2f) * Envelope(t, 0.002f, seconds + 0.6f, 0.4f);
    }
    return m;
}

Mono Lead(float hz, float seconds) {
    const float release = 0.09f;
    Mono m(Samples(seconds + release));
    float p = 0, y = 0, vib = 0;
    float a = 1 - std::exp(-kTau * 3200.0f / RATE);
    for (size_t i = 0; i < m.size(); ++i) {
        float t = (float)i / RATE;
        vib += 5.5f / RATE;
        float depth = 0.005f * std::min(1.0f, std::max(0.0f, (t - 0.15f) * 4));
        float f = hz * (1 + depth * std::sin(kTau * vib));
        float v = Pulse(p, f / RATE, 0.32f);
        y += a * (v - y);
        float env = Envelope(t, 0.008f, seconds, release) * (0.75f + 0.25f * std::exp(-t * 8));
        m[i] = y * env;
    }
    return m;
}

Mono Pad(const std::vector<float> &hz, float seconds) {
    const float attack = 0.35f, release = 0.7f;
    Mono m(Samples(seconds + release));
    std::vector<float> ph(hz.size() * 3);
    for (size_t k = 0; k < ph.size(); ++k) ph[k] = (k * 0.37f) - std::floor(k * 0.37f);
    float y1 = 0, y2 = 0;
    float a = 1 - std::exp(-kTau * 1300.0f / RATE);
    const float det[3] = {0.996f, 1.0f, 1.004f};
    for (size_t i = 0; i < m.size(); ++i) {
        float t = (float)i / RATE;
        float v = 0;
        for (size_t n = 0; n < hz.size(); ++n)
            for (int d = 0; d < 3; ++d) v += Saw(ph[n * 3 + d], hz[n] * det[d] / RATE);
        v /= (float)(hz.size() * 3);
        y1 += a * (v - y1);
        y2 += a * (y1 - y2);
        m[i] = y2 * Envelope(t, attack, seconds, release) * 1.6f;
    }
    return m;
}

Mono Brass(float hz, float seconds, float bendTo) {
    const float release = 0.12f;
    Mono m(Samples(seconds + release));
    float p1 = 0, p2 = 0.3f, y1 = 0, y2 = 0, vib = 0;
    for (size_t i = 0; i < m.size(); ++i) {
        float t = (float)i / RATE;
        float k = std::min(1.0f, t / seconds);
        float f = hz * std::pow(bendTo / hz, k * k);
        vib += 6.0f / RATE;
        f *= 1 + 0.012f * std::sin(kTau * vib) * Smooth01(t / seconds);
        float v = 0.5f * Saw(p1, f / RATE) + 0.5f * Saw(p2, f * 1.003f / RATE);
        float cutoff = 300 + 1500 * std::sin(3.14159265f * std::min(1.0f, t / (seconds * 0.6f))) * (1 - 0.5f * k);
        float a = 1 - std::exp(-kTau * cutoff / RATE);
        y1 += a * (v - y1);
        y2 += a * (y1 - y2);
        m[i] = y2 * Envelope(t, 0.03f, seconds, release);
    }
    return m;
}

// ---- effects -------------------------------------------------------------------------------------------

void Echo(Stereo &s, float seconds, float feedback, float mix, bool circular) {
    const long n = (long)s.l.size();
    const long d = (long)Samples(seconds);
    if (d <= 0 || d >= n) return;
    std::vector<float> el(n, 0), er(n, 0);
    // Round the loop twice: the second time round, the echoes of the end are already there at the start.
    const int passes = circular ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass)
        for (long i = 0; i < n; ++i) {
            long j = i - d;
            float in = 0, fbL = 0, fbR = 0;
            if (j >= 0 || circular) {
                long jj = (j % n + n) % n;
                in = 0.5f * (s.l[jj] + s.r[jj]);
                fbL = er[jj];
                fbR = el[jj];
            }
            el[i] = in + feedback * fbL;
            er[i] = feedback * fbR;
        }
    for (long i = 0; i < n; ++i) {
        s.l[i] += mix * el[i];
        s.r[i] += mix * er[i];
    }
}

void LowPass(Stereo &s, float hz, bool circular) {
    float a = 1 - std::exp(-kTau * hz / RATE);
    for (Mono *ch : {&s.l, &s.r}) {
        Mono &x = *ch;
        float y = 0;
        if (circular)
            for (float v : x) y += a * (v - y);  // settle on the loop's end first
        for (float &v : x) {
            y += a * (v - y);
            v = y;
        }
    }
}

void Measure(const Stereo &s, float &peakDb, float &rmsDb) {
    float peak = 0;
    double sum = 0;
    size_t count = 0;
    const size_t win = RATE / 20;
    for (size_t w = 0; w < s.l.size(); w += win) {
        double ws = 0;
        size_t e = std::min(s.l.size(), w + win);
        for (size_t i = w; i < e; ++i) {
            peak = std::max(peak, std::max(std::fabs(s.l[i]), std::fabs(s.r[i])));
            ws += 0.5 * (s.l[i] * s.l[i] + s.r[i] * s.r[i]);
        }
        double wr = std::sqrt(ws / (double)(e - w));
        if (wr > 0.0056) {  // -45 dBFS: only the parts that sound count
            sum += ws;
            count += e - w;
        }
    }
    peakDb = 20 * std::log10(std::max(peak, 1e-9f));
    rmsDb = count ? (float)(10 * std::log10(std::max(sum / (double)count, 1e-18))) : -120.0f;
}

void Level(Stereo &s, float rmsDb, float peakDb) {
    const float ceiling = std::pow(10.0f, peakDb / 20);
    const float knee = 0.6f * ceiling;
    for (int round = 0; round < 3; ++round) {
        float p, r;
        Measure(s, p, r);
        float g = std::pow(10.0f, (rmsDb - r) / 20);
        for (Mono *ch : {&s.l, &s.r})
            for (float &v : *ch) {
                v *= g;
                float a = std::fabs(v);
                if (a > knee)
                    v = (v < 0 ? -1 : 1) * (knee + (ceiling - knee) * std::tanh((a - knee) / (ceiling - knee)));
            }
    }
}

void Fade(Stereo &s, float in, float out) {
    size_t n = s.l.size(), ni = Samples(in), no = Samples(out);
    for (size_t i = 0; i < n; ++i) {
        float g = 1;
        if (ni && i < ni) g = (float)i / ni;
        if (no && i + no > n) g = std::min(g, (float)(n - i) / no);
        s.l[i] *= g;
        s.r[i] *= g;
    }
}

// ---- files ---------------------------------------------------------------------------------------------

Mono ReadWav(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto u16 = [&](size_t at) { return (uint32_t)b[at] | ((uint32_t)b[at + 1] << 8); };
    auto u32 = [&](size_t at) { return u16(at) | (u16(at + 2) << 16); };
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0)
        return Mono();
    uint32_t channels = 0, rate = 0, bits = 0;
    size_t at = 12, dataAt = 0, dataLen = 0;
    while (at + 8 <= b.size()) {
        uint32_t len = u32(at + 4);
        if (std::memcmp(b.data() + at, "fmt ", 4) == 0 && at + 24 <= b.size()) {
            channels = u16(at + 10);
            rate = u32(at + 12);
            bits = u16(at + 22);
        } else if (std::memcmp(b.data() + at, "data", 4) == 0) {
            dataAt = at + 8;
            // espeak-ng writes to a pipe-friendly header with a huge length: take what is there.
            dataLen = std::min<size_t>(len, b.size() - dataAt);
            break;
        }
        at += 8 + len + (len & 1);
    }
    if (!dataAt || bits != 16 || channels < 1 || rate == 0) return Mono();
    size_t frames = dataLen / (2 * channels);
    Mono src(frames);
    for (size_t i = 0; i < frames; ++i) {
        float v = 0;
        for (uint32_t c = 0; c < channels; ++c) v += (int16_t)u16(dataAt + (i * channels + c) * 2) / 32768.0f;
        src[i] = v / channels;
    }
    // Linear resampling to our rate; the voices are band-limited well below it.
    size_t outN = (size_t)((double)frames * RATE / rate);
    Mono out(outN);
    for (size_t i = 0; i < outN; ++i) {
        double pos = (double)i * rate / RATE;
        size_t k = (size_t)pos;
        float f = (float)(pos - k);
        float a = src[std::min(k, frames - 1)], c = src[std::min(k + 1, frames - 1)];
        out[i] = a + (c - a) * f;
    }
    return out;
}

bool WriteMp3(const Stereo &s, bool stereo, int kbps, const std::string &path) {
    lame_global_flags *gf = lame_init();
    if (!gf) return false;
    lame_set_in_samplerate(gf, RATE);
    lame_set_out_samplerate(gf, RATE);
    lame_set_num_channels(gf, stereo ? 2 : 1);
    lame_set_mode(gf, stereo ? JOINT_STEREO : MONO);
    lame_set_brate(gf, kbps);
    lame_set_quality(gf, 2);
    // The Info frame carries the encoder delay and padding, which gapless decoders cut off.
    lame_set_bWriteVbrTag(gf, 1);
    lame_set_write_id3tag_automatic(gf, 0);
    if (lame_init_params(gf) < 0) {
        lame_close(gf);
        return false;
    }
    const int n = (int)s.l.size();
    std::vector<unsigned char> out;
    std::vector<unsigned char> buf(n * 5 / 4 + 7200 * 2);
    Mono mono;
    if (!stereo) {
        mono.resize(n);
        for (int i = 0; i < n; ++i) mono[i] = 0.5f * (s.l[i] + s.r[i]);
    }
    const float *left = stereo ? s.l.data() : mono.data();
    const float *right = stereo ? s.r.data() : mono.data();
    int got = lame_encode_buffer_ieee_float(gf, left, right, n, buf.data(), (int)buf.size());
    if (got < 0) {
        lame_close(gf);
        return false;
    }
    out.insert(out.end(), buf.begin(), buf.begin() + got);
    got = lame_encode_flush(gf, buf.data(), (int)buf.size());
    if (got < 0) {
        lame_close(gf);
        return false;
    }
    out.insert(out.end(), buf.begin(), buf.begin() + got);
    unsigned char tag[8192];
    size_t tagLen = lame_get_lametag_frame(gf, tag, sizeof tag);
    lame_close(gf);
    if (tagLen == 0 || tagLen > out.size()) return false;
    std::memcpy(out.data(), tag, tagLen);  // the first frame was kept free for it
    FILE *fp = std::fopen(path.c_str(), "wb");
    if (!fp) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), fp) == out.size();
    return std::fclose(fp) == 0 && ok;
}

}  // namespace Synth
