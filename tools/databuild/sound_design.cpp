// Our own chip sounds: square, triangle and noise voices with pitch and
// volume envelopes, and a small sequencer (melody, bass, drums) for the four
// looped tracks. A track's length is a whole number of bars and every note
// that rings past the end is folded back onto its start, so the loop point
// has no click.
#include "sound_design.h"

#include <cmath>

#include "noise.h"

namespace zoa::databuild {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kRate = static_cast<float>(kSampleRate);

enum Wave { kSquare, kTriangle, kNoise };

struct Note {
    Wave wave = kSquare;
    float freq = 440;      // start pitch in Hz
    float freqEnd = 440;   // pitch at the end (exponential slide)
    float seconds = 0.1f;  // length
    float volume = 0.5f;
    float duty = 0.5f;  // square duty cycle
    float attack = 0.004f;
    float vibrato = 0;  // depth in semitones
};

float NoteHz(int midi) {
    return 440.0f * std::pow(2.0f, static_cast<float>(midi - 69) / 12.0f);
}

// Adds one note to `mix` starting at sample `at`; samples past the end wrap
// to the start when `wrap` is set and are dropped otherwise.
void Render(std::vector<float>& mix, size_t at, const Note& n, bool wrap, uint32_t seed = 1) {
    const size_t count = static_cast<size_t>(n.seconds * kRate);
    float phase = 0;
    uint32_t lfsr = 0x4A3Fu ^ seed;
    float noiseValue = 0;
    for (size_t i = 0; i < count; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(count);
        float f = n.freq * std::pow(n.freqEnd / n.freq, t);
        if (n.vibrato > 0)
            f *= std::pow(
                2.0f, n.vibrato / 12.0f * std::sin(2 * kPi * 6.0f * static_cast<float>(i) / kRate));
        const float prev = phase;
        phase += f / kRate;
        phase -= std::floor(phase);
        float v;
        switch (n.wave) {
            case kSquare:
                v = phase < n.duty ? 1.0f : -1.0f;
                break;
            case kTriangle:
                v = 4.0f * std::fabs(phase - 0.5f) - 1.0f;
                break;
            default:
                if (phase < prev) {  // a new noise value per cycle of the pitch
                    lfsr = (lfsr >> 1) ^ (-(lfsr & 1u) & 0xB400u);
                    noiseValue = (lfsr & 1u) ? 1.0f : -1.0f;
                }
                v = noiseValue;
                break;
        }
        const float a = static_cast<float>(i) / kRate;
        const float env = std::fmin(1.0f, a / n.attack) * (1.0f - t) * (1.0f - t * 0.3f);
        const size_t k = at + i;
        if (k < mix.size())
            mix[k] += v * env * n.volume;
        else if (wrap && !mix.empty())
            mix[k % mix.size()] += v * env * n.volume;
    }
}

std::vector<int16_t> ToPcm(const std::vector<float>& mix, float gain) {
    std::vector<int16_t> out(mix.size());
    for (size_t i = 0; i < mix.size(); ++i) {
        float v = mix[i] * gain;
        v = v > 1 ? 1 : (v < -1 ? -1 : v);
        out[i] = static_cast<int16_t>(std::lround(v * 30000.0f));
    }
    return out;
}

size_t At(float seconds) {
    return static_cast<size_t>(seconds * kRate);
}

}  // namespace

std::vector<int16_t> SoundEffect(int index) {
    std::vector<float> mix;
    auto length = [&mix](float seconds) { mix.assign(At(seconds), 0.0f); };
    switch (index) {
        case 0:  // A: spring boing
            length(0.45f);
            Render(mix, 0, {kTriangle, 180, 620, 0.42f, 0.8f, 0.5f, 0.003f, 1.5f}, false);
            Render(mix, 0, {kSquare, 90, 310, 0.3f, 0.25f, 0.25f}, false);
            break;
        case 1:  // B: menu move and dash: a short blip
            length(0.07f);
            Render(mix, 0, {kSquare, NoteHz(84), NoteHz(88), 0.07f, 0.5f, 0.25f}, false);
            break;
        case 2:  // C: throw whoosh
            length(0.22f);
            Render(mix, 0, {kNoise, 3000, 9000, 0.2f, 0.35f}, false);
            Render(mix, 0, {kSquare, 300, 900, 0.14f, 0.3f, 0.125f}, false);
            break;
        case 3:  // D: spring pad squeezed
            length(0.12f);
            Render(mix, 0, {kSquare, 220, 110, 0.1f, 0.5f, 0.5f}, false);
            Render(mix, 0, {kNoise, 1500, 800, 0.06f, 0.3f}, false);
            break;
        case 4:  // E: jump pad launch
            length(0.35f);
            Render(mix, 0, {kSquare, 200, 1400, 0.32f, 0.45f, 0.25f}, false);
            Render(mix, At(0.04f), {kTriangle, 100, 700, 0.3f, 0.5f}, false);
            break;
        case 5: {  // F: the hero is defeated, a falling arpeggio
            length(1.1f);
            const int notes[6] = {76, 72, 69, 64, 60, 55};
            for (int i = 0; i < 6; ++i)
                Render(mix, At(0.15f * static_cast<float>(i)),
                       {kSquare, NoteHz(notes[i]), NoteHz(notes[i] - 1), 0.2f, 0.45f, 0.5f}, false);
            Render(mix, At(0.75f), {kTriangle, NoteHz(43), NoteHz(31), 0.35f, 0.7f}, false);
            break;
        }
        case 6:  // G: laser zap
            length(0.25f);
            Render(mix, 0, {kSquare, 1800, 200, 0.24f, 0.4f, 0.125f}, false);
            break;
        case 7:  // H: hit thud
            length(0.2f);
            Render(mix, 0, {kNoise, 1200, 300, 0.16f, 0.7f}, false);
            Render(mix, 0, {kTriangle, 160, 50, 0.18f, 0.8f}, false);
            break;
        case 8:  // I: big explosion
            length(0.8f);
            Render(mix, 0, {kNoise, 900, 120, 0.78f, 0.8f}, false);
            Render(mix, 0, {kTriangle, 90, 30, 0.5f, 0.6f}, false);
            break;
        case 9: {  // J: stage clear fanfare
            length(1.5f);
            const int notes[6] = {60, 64, 67, 72, 67, 72};
            const float when[6] = {0, 0.12f, 0.24f, 0.36f, 0.6f, 0.72f};
            for (int i = 0; i < 6; ++i)
                Render(mix, At(when[i]),
                       {kSquare, NoteHz(notes[i]), NoteHz(notes[i]), i == 5 ? 0.75f : 0.2f, 0.45f,
                        0.5f, 0.004f, i == 5 ? 0.15f : 0.0f},
                       false);
            Render(mix, 0, {kTriangle, NoteHz(48), NoteHz(48), 0.5f, 0.6f}, false);
            Render(mix, At(0.6f), {kTriangle, NoteHz(43), NoteHz(43), 0.3f, 0.6f}, false);
            Render(mix, At(0.72f), {kTriangle, NoteHz(48), NoteHz(48), 0.75f, 0.6f}, false);
            break;
        }
        case 10:  // K: pick-up chime
            length(0.3f);
            Render(mix, 0, {kSquare, NoteHz(88), NoteHz(88), 0.08f, 0.4f, 0.5f}, false);
            Render(mix, At(0.07f), {kSquare, NoteHz(95), NoteHz(95), 0.22f, 0.4f, 0.5f}, false);
            break;
        case 11:  // L: bomber and crawler defeated: a pop and a drop
            length(0.45f);
            Render(mix, 0, {kNoise, 4000, 1000, 0.15f, 0.5f}, false);
            Render(mix, 0, {kSquare, 700, 80, 0.42f, 0.4f, 0.5f}, false);
            break;
        case 12:  // M: flamer defeated: a crackling fizzle
            length(0.6f);
            Render(mix, 0, {kNoise, 2500, 400, 0.58f, 0.55f}, false);
            Render(mix, 0, {kTriangle, 220, 55, 0.5f, 0.6f}, false);
            break;
        case 13: {  // N: walkers defeated: a robot breaking down
            length(0.5f);
            for (int i = 0; i < 5; ++i)
                Render(mix, At(0.08f * static_cast<float>(i)),
                       {kSquare, 600.0f - 90.0f * static_cast<float>(i),
                        300.0f - 50.0f * static_cast<float>(i), 0.09f, 0.4f, 0.25f},
                       false);
            Render(mix, 0, {kNoise, 2000, 600, 0.2f, 0.3f}, false);
            break;
        }
        default: {  // O: extra-life jingle
            length(0.7f);
            const int notes[4] = {72, 76, 79, 84};
            for (int i = 0; i < 4; ++i)
                Render(mix, At(0.1f * static_cast<float>(i)),
                       {kSquare, NoteHz(notes[i]), NoteHz(notes[i]), i == 3 ? 0.35f : 0.12f, 0.4f,
                        0.25f},
                       false);
            break;
        }
    }
    return ToPcm(mix, 0.8f);
}

namespace {

struct TrackStyle {
    int bpm;
    int root;       // MIDI note of the key's root (melody octave)
    int scale[7];   // semitone steps of the mode
    int chords[8];  // scale degree (0..6) of each bar's chord, repeating
    int bars;
    float lead;  // square duty of the melody
    uint32_t seed;
    int drumStyle;  // 0 march, 1 soft, 2 shuffle, 3 driving
};

constexpr TrackStyle kTracks[4] = {
    {144, 72, {0, 2, 4, 5, 7, 9, 11}, {0, 4, 5, 3, 0, 4, 3, 4}, 24, 0.5f, 11, 0},   // hills: bright
                                                                                    // major
    {104, 69, {0, 2, 3, 5, 7, 8, 10}, {0, 5, 2, 6, 0, 5, 3, 4}, 16, 0.25f, 23, 1},  // forest:
                                                                                    // minor, calm
    {120,
     74,
     {0, 2, 3, 5, 7, 9, 10},
     {0, 6, 5, 6, 0, 3, 6, 4},
     20,
     0.125f,
     37,
     2},  // canyon: dorian shuffle
    {156, 66, {0, 2, 3, 5, 7, 8, 10}, {0, 0, 5, 5, 3, 3, 4, 4}, 28, 0.25f, 41, 3},  // city: driving
                                                                                    // minor
};

int Degree(const TrackStyle& s, int degree) {
    const int octave = degree >= 0 ? degree / 7 : (degree - 6) / 7;
    const int d = degree - octave * 7;
    return s.root + octave * 12 + s.scale[d];
}

}  // namespace

std::vector<int16_t> MusicTrack(int index) {
    const TrackStyle& s = kTracks[index & 3];
    const size_t sixteenth =
        static_cast<size_t>(std::lround(kRate * 60.0f / static_cast<float>(s.bpm) / 4.0f));
    const size_t barLength = sixteenth * 16;
    std::vector<float> mix(barLength * static_cast<size_t>(s.bars), 0.0f);
    const float step = static_cast<float>(sixteenth) / kRate;

    for (int bar = 0; bar < s.bars; ++bar) {
        const int chord = s.chords[bar % 8];
        const size_t barAt = barLength * static_cast<size_t>(bar);
        // Phrases repeat: bars 0-3 and 8-11 share one motif, 4-7 another, and so on,
        // so the melody has a shape the ear can follow.
        const int phrase = (bar / 4) % 2 == 0 ? 0 : 1 + (bar / 8) % 2;
        const int barInPhrase = bar % 4;
        // Bass: root and fifth on the beats (triangle).
        for (int beat = 0; beat < 4; ++beat) {
            const int note = Degree(s, chord + (beat % 2 ? 4 : 0)) - 24;
            Render(mix, barAt + sixteenth * static_cast<size_t>(beat * 4),
                   {kTriangle, NoteHz(note), NoteHz(note), step * 3.5f, 0.55f}, true);
        }
        // Melody: eighth notes from the chord and its neighbours, with rests.
        for (int slot = 0; slot < 8; ++slot) {
            const uint32_t h = Hash(static_cast<uint32_t>(phrase),
                                    static_cast<uint32_t>(barInPhrase * 8 + slot), s.seed);
            if (h % 5 == 0 && slot != 0) continue;  // a rest
            const int tones[5] = {0, 2, 4, 7, 1};
            const int degree = chord + tones[(h >> 4) % 5] + ((h >> 8) % 3 == 0 ? -7 : 0);
            const bool held = slot % 4 == 3 || (h >> 12) % 4 == 0;
            const int note = Degree(s, degree);
            Render(mix, barAt + sixteenth * static_cast<size_t>(slot * 2),
                   {kSquare, NoteHz(note), NoteHz(note), step * (held ? 3.6f : 1.8f), 0.28f, s.lead,
                    0.004f, held ? 0.12f : 0.0f},
                   true);
        }
        // Arpeggio in the background on the off-beats (quiet square).
        for (int k = 0; k < 16; k += 2) {
            const int note = Degree(s, chord + (k / 2 % 3) * 2) - 12;
            Render(mix, barAt + sixteenth * static_cast<size_t>(k + 1),
                   {kSquare, NoteHz(note), NoteHz(note), step * 0.9f, 0.1f, 0.5f}, true);
        }
        // Drums: noise voices.
        for (int k = 0; k < 16; ++k) {
            const size_t at = barAt + sixteenth * static_cast<size_t>(k);
            const bool kick = (s.drumStyle == 3)
                                  ? k % 4 == 0
                                  : (k == 0 || k == 8 || (s.drumStyle == 0 && k == 10));
            const bool snare = k == 4 || k == 12;
            const bool hat =
                s.drumStyle == 2 ? (k % 3 == 0) : (s.drumStyle == 1 ? k % 4 == 2 : k % 2 == 0);
            if (kick) Render(mix, at, {kTriangle, 150, 40, 0.12f, 0.8f}, true);
            if (snare && s.drumStyle != 1)
                Render(mix, at, {kNoise, 3000, 1800, 0.1f, 0.35f}, true, static_cast<uint32_t>(k));
            if (hat)
                Render(mix, at, {kNoise, 9000, 9000, 0.03f, 0.15f}, true,
                       static_cast<uint32_t>(k + 7));
        }
    }
    return ToPcm(mix, 0.6f);
}

}  // namespace zoa::databuild
