// The arrangement of the soundtrack: A minor at 138 BPM, in sections that follow the show's slots,
// with hits on the sixteenth nearest to each of the scenes' white flashes, black frames and
// impacts.
#include "tools/datagen/synth_score.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "base/show_slots.h"
#include "tools/datagen/synth_dsp.h"
#include "tools/datagen/synth_instruments.h"

namespace synth {

namespace {

// The beat nearest to a music time; beat 0 is at 0 ms.
constexpr int beatNear(std::int32_t ms) { return static_cast<int>(ms / (60000.0 / beatsPerMinute) + 0.5); }

// First beats of the sections; each one but the drop is the nearest beat to a change of slot.
constexpr int dropBeat = 32;  // 13913 ms: the beat arrives (the sky flashes from 14000)
constexpr int processionBeat = beatNear(slotStartMs(2));
constexpr int wormBeat = beatNear(slotStartMs(3));
constexpr int cannonBeat = beatNear(slotStartMs(4));
constexpr int cloudBeat = beatNear(slotStartMs(5));
constexpr int lastKickBeat = 459;    // the final downbeat; the rest fades out
constexpr double fadeStartSeconds = 202.0;
constexpr double silentFromSeconds = 209.0;

struct Chord {
    float bass;               // root, low
    std::vector<float> pad;   // the voicing the pads hold
    std::array<float, 4> arp; // chord tones for arpeggios and hits
};

const Chord Am{33, {57, 60, 64, 69}, {69, 72, 76, 81}};
const Chord F{29, {53, 57, 60, 65}, {65, 69, 72, 77}};
const Chord C{36, {55, 60, 64, 67}, {67, 72, 76, 79}};
const Chord G{31, {55, 59, 62, 67}, {67, 71, 74, 79}};
const Chord Em{40, {55, 59, 64, 67}, {64, 67, 71, 76}};
const Chord Dm{38, {57, 62, 65, 69}, {62, 65, 69, 74}};
const Chord Bb{34, {53, 58, 62, 65}, {65, 70, 74, 77}};
const Chord E{40, {56, 59, 64, 68}, {64, 68, 71, 76}};
const Chord Fmaj7{29, {53, 57, 60, 64}, {65, 69, 72, 76}};
const Chord Em7{40, {52, 55, 59, 62}, {64, 67, 71, 74}};

// Chords that change every `beatsPerChord` beats from `startBeat`, cycling.
struct Progression {
    int startBeat;
    int beatsPerChord;
    std::vector<const Chord*> chords;

    const Chord& at(double beat) const {
        const auto index = static_cast<long>(std::floor((beat - startBeat) / beatsPerChord));
        const auto count = static_cast<long>(chords.size());
        return *chords[static_cast<std::size_t>(((index % count) + count) % count)];
    }
};

// A melody as notes and lengths in sixteenths; note 0 is a rest.
struct Step {
    float note;
    int sixteenths;
};
using Melody = std::vector<Step>;

// The main theme, eight bars over Am F C G.
const Melody theme = {
    {69, 3}, {72, 3}, {76, 4}, {74, 2}, {72, 2}, {71, 2},  //
    {72, 3}, {69, 3}, {65, 2}, {69, 4}, {72, 4},           //
    {76, 3}, {79, 3}, {76, 2}, {74, 4}, {72, 4},           //
    {74, 3}, {71, 3}, {67, 2}, {71, 4}, {74, 2}, {76, 2},  //
    {69, 3}, {72, 3}, {76, 4}, {81, 4}, {79, 2},           //
    {77, 3}, {76, 3}, {72, 2}, {69, 8},                    //
    {79, 3}, {76, 3}, {72, 2}, {76, 4}, {79, 4},           //
    {74, 3}, {76, 3}, {74, 2}, {71, 8},
};

// The theme's answer after the cannon fires: higher, in eighths.
const Melody answer = {
    {81, 2}, {79, 2}, {76, 2}, {79, 2}, {81, 4}, {84, 4},  //
    {84, 2}, {81, 2}, {77, 2}, {81, 2}, {84, 4}, {81, 4},  //
    {79, 2}, {76, 2}, {72, 2}, {76, 2}, {79, 4}, {84, 4},  //
    {83, 4}, {79, 4}, {74, 4}, {79, 4},                    //
    {81, 2}, {79, 2}, {76, 2}, {79, 2}, {81, 4}, {76, 4},  //
    {77, 4}, {81, 4}, {84, 4}, {81, 4},                    //
    {84, 2}, {83, 2}, {79, 2}, {76, 2}, {79, 4}, {76, 4},  //
    {74, 4}, {79, 4}, {83, 8},
};

// Long notes over F G Em Am, between the cannon's white-outs.
const Melody counterLine = {
    {72, 8}, {69, 8}, {71, 8}, {74, 8}, {76, 12}, {74, 4}, {72, 16},
    {77, 8}, {76, 8}, {74, 8}, {79, 8}, {76, 16}, {76, 8}, {69, 8},
};

// The slow closing melody over Fmaj7 G Em7 Am, three times round.
const Melody closing = {
    {76, 8}, {72, 8}, {74, 8}, {71, 8}, {67, 8}, {71, 8}, {69, 16},
    {72, 8}, {69, 8}, {71, 8}, {74, 8}, {76, 12}, {74, 4}, {72, 8}, {76, 8},
    {77, 8}, {76, 8}, {74, 12}, {71, 4}, {71, 8}, {67, 8}, {69, 16},
};

double seconds(double beats) { return beatToSeconds(beats); }

// The sixteenth of the grid nearest to a time of the show, in beats.
double sixteenthNear(double ms) { return std::round(ms / (60000.0 / beatsPerMinute) * 4.0) / 4.0; }

bool onBeat(double beat) { return beat == std::floor(beat); }

class Composer {
public:
    MixPlan plan;

    void add(double beat, Bus bus, float gain, float pan, float reverb, std::unique_ptr<Voice> voice) {
        plan.notes.push_back(Note{beatToFrame(beat), bus, gain, pan, reverb, std::move(voice)});
    }

    void kick(int beat, float gain) {
        add(beat, Bus::drums, gain, 0.0f, 0.0f, makeKick());
        plan.kickFrames.push_back(beatToFrame(beat));
    }

    // Seeds of the noise voices, so no two hats or crashes are the same noise.
    std::uint32_t seed() {
        seed_ = seed_ * 1664525u + 1013904223u;
        return seed_;
    }

private:
    std::uint32_t seed_ = 0x2545f491u;
};

// ---- layers ----------------------------------------------------------------------------------

struct DrumStyle {
    bool snare = true;        // on beats 2 and 4 of the bar
    bool halfTime = false;    // the snare on beat 3 only
    bool clap = true;
    bool openHats = true;     // on the off-beat eighths
    int hatsPerBeat = 4;      // closed hats: 0, 2 or 4 per beat
    float hatGain = 0.12f;
    bool toms = false;        // a rolling tom figure on the off-beats
};

void drums(Composer& c, int fromBeat, int toBeat, int barStart, const DrumStyle& style) {
    for (int beat = fromBeat; beat < toBeat; ++beat) {
        const int inBar = ((beat - barStart) % 4 + 4) % 4;
        const bool backbeat = style.halfTime ? inBar == 2 : (inBar == 1 || inBar == 3);
        if (style.snare && backbeat) c.add(beat, Bus::drums, 0.3f, 0.05f, 0.22f, makeSnare(c.seed()));
        if (style.clap && backbeat) c.add(beat, Bus::drums, 0.2f, -0.1f, 0.3f, makeClap(c.seed()));
        if (style.openHats) c.add(beat + 0.5, Bus::drums, 0.14f, 0.25f, 0.05f, makeHat(c.seed(), true));
        for (int k = 0; k < style.hatsPerBeat; ++k) {
            const double position = beat + static_cast<double>(k) / style.hatsPerBeat;
            if (style.openHats && position == beat + 0.5) continue;
            const float accent = k == 0 ? 0.8f : (position == beat + 0.5 ? 1.2f : 1.0f);
            c.add(position, Bus::drums, style.hatGain * accent, -0.3f, 0.0f, makeHat(c.seed(), false));
        }
        if (style.toms) {
            c.add(beat + 0.5, Bus::drums, 0.2f, inBar % 2 == 0 ? -0.4f : 0.4f, 0.15f, makeTom(inBar % 2 == 0 ? 150.0f : 110.0f));
            if (inBar == 3) c.add(beat + 0.25, Bus::drums, 0.14f, 0.4f, 0.15f, makeTom(180.0f));
        }
    }
}

// A snare roll that speeds up and swells into a hit at `toBeat`.
void snareRoll(Composer& c, double fromBeat, double toBeat, float fromGain, float toGain) {
    const double length = toBeat - fromBeat;
    for (double beat = fromBeat; beat < toBeat - 1e-9;) {
        const double progress = (beat - fromBeat) / length;
        c.add(beat, Bus::drums, fromGain + static_cast<float>(progress) * (toGain - fromGain), 0.0f, 0.3f, makeSnare(c.seed()));
        beat += progress < 0.5 ? 0.5 : 0.25;
    }
}

void riser(Composer& c, double fromBeat, double toBeat, float gain) {
    c.add(fromBeat, Bus::effects, gain, 0.0f, 0.3f, makeRiser(c.seed(), static_cast<float>(seconds(toBeat - fromBeat)), 350.0f, 7000.0f));
}

// Bass on the three sixteenths after each beat, leaving the beat itself to the kick.
void rollingBass(Composer& c, const Progression& p, int fromBeat, int toBeat, float brightness) {
    for (int beat = fromBeat; beat < toBeat; ++beat) {
        const Chord& chord = p.at(beat);
        for (int k = 1; k < 4; ++k)
            c.add(beat + k * 0.25, Bus::music, 0.36f, 0.0f, 0.0f,
                  makeBass(chord.bass, static_cast<float>(seconds(0.2)), brightness * (k == 2 ? 1.3f : 1.0f)));
    }
}

void offbeatBass(Composer& c, const Progression& p, int fromBeat, int toBeat, float brightness) {
    for (int beat = fromBeat; beat < toBeat; ++beat)
        c.add(beat + 0.5, Bus::music, 0.36f, 0.0f, 0.0f, makeBass(p.at(beat).bass, static_cast<float>(seconds(0.4)), brightness));
}

void longBass(Composer& c, const Progression& p, int fromBeat, int toBeat, float gain, float brightness) {
    for (int beat = fromBeat; beat < toBeat; beat += p.beatsPerChord) {
        const int length = std::min(p.beatsPerChord, toBeat - beat);
        c.add(beat, Bus::music, gain, 0.0f, 0.0f, makeBass(p.at(beat).bass, static_cast<float>(seconds(length - 0.1)), brightness));
    }
}

// One pad chord per chord of the progression; the cutoff moves from one value to the other
// across the whole range.
void pads(Composer& c, const Progression& p, int fromBeat, int toBeat, float fromHz, float toHz, float gain,
          float attack = 0.3f, float release = 0.9f) {
    const double range = toBeat - fromBeat;
    for (int beat = fromBeat; beat < toBeat;) {
        const int chordEnd = std::min(toBeat, p.startBeat + ((beat - p.startBeat) / p.beatsPerChord + 1) * p.beatsPerChord);
        PadSettings settings;
        settings.cutoffFromHz = fromHz + (toHz - fromHz) * static_cast<float>((beat - fromBeat) / range);
        settings.cutoffToHz = fromHz + (toHz - fromHz) * static_cast<float>((chordEnd - fromBeat) / range);
        settings.attack = attack;
        settings.release = release;
        c.add(beat, Bus::music, gain, 0.0f, 0.35f, makePad(p.at(beat).pad, static_cast<float>(seconds(chordEnd - beat)), settings, c.seed()));
        beat = chordEnd;
    }
}

// Plucked chord tones, `perBeat` to a beat, swinging gently between the speakers.
void arpeggio(Composer& c, const Progression& p, int fromBeat, int toBeat, int perBeat, float gain, float brightness,
              float transpose = 0.0f) {
    static constexpr int order[16] = {0, 1, 2, 3, 1, 2, 3, 2, 0, 1, 2, 3, 2, 3, 1, 2};
    int step = 0;
    for (int beat = fromBeat; beat < toBeat; ++beat) {
        for (int k = 0; k < perBeat; ++k, ++step) {
            const Chord& chord = p.at(beat);
            const float note = chord.arp[static_cast<std::size_t>(order[step % 16])] + transpose;
            c.add(beat + static_cast<double>(k) / perBeat, Bus::lead, gain, step % 2 == 0 ? -0.35f : 0.35f, 0.15f,
                  makePluck(note, brightness));
        }
    }
}

void melody(Composer& c, const Melody& m, double fromBeat, float gain, float transpose = 0.0f, float reverb = 0.2f) {
    double beat = fromBeat;
    for (const Step& s : m) {
        const double beats = s.sixteenths * 0.25;
        if (s.note > 0.0f)
            c.add(beat, Bus::lead, gain, 0.0f, reverb, makeLead(s.note + transpose, static_cast<float>(seconds(beats * 0.92))));
        beat += beats;
    }
}

// ---- hits ------------------------------------------------------------------------------------

enum class Hit {
    big,      // crash and the low boom: section starts, the strongest flashes
    impact,   // crash and a noise thud: flashes and black frames
    landing,  // a tom and a thud: the procession's balls landing
    eruption, // a worm bursting out of the ground
    sparks,   // a member of the formation bursting
    glow,     // a bell and a soft cymbal: the cloud scene's glows
};

// Low drums on the sixteenth just before a beat would blur that beat's kick, so there a hit
// keeps to its noise.
bool lowDrumAllowed(double beat) { return beat - std::floor(beat) != 0.75; }

void hit(Composer& c, double beat, Hit kind, const Progression& p) {
    switch (kind) {
    case Hit::big:
        c.add(beat, Bus::effects, 0.3f, 0.0f, 0.35f, makeCrash(c.seed(), 0.9f));
        if (onBeat(beat)) c.add(beat, Bus::drums, 0.5f, 0.0f, 0.1f, makeBoom());
        else c.add(beat, Bus::effects, 0.25f, 0.0f, 0.3f, makeBurst(c.seed(), 400.0f, 0.8f));
        break;
    case Hit::impact:
        c.add(beat, Bus::effects, 0.24f, 0.0f, 0.3f, makeCrash(c.seed(), 0.6f));
        c.add(beat, Bus::effects, 0.22f, 0.0f, 0.3f, makeBurst(c.seed(), 500.0f, 0.6f));
        if (onBeat(beat)) c.add(beat, Bus::drums, 0.4f, 0.0f, 0.1f, makeBoom());
        else if (lowDrumAllowed(beat)) c.add(beat, Bus::drums, 0.3f, 0.0f, 0.2f, makeTom(120.0f));
        break;
    case Hit::landing:
        c.add(beat, Bus::effects, 0.18f, 0.2f, 0.25f, makeBurst(c.seed(), 700.0f, 0.4f));
        if (lowDrumAllowed(beat)) c.add(beat, Bus::drums, 0.32f, -0.2f, 0.2f, makeTom(onBeat(beat) ? 95.0f : 130.0f));
        break;
    case Hit::eruption:
        c.add(beat, Bus::effects, 0.24f, 0.0f, 0.35f, makeBurst(c.seed(), 300.0f, 1.0f));
        c.add(beat, Bus::effects, 0.1f, 0.0f, 0.3f, makeBurst(c.seed(), 2500.0f, 0.7f));
        if (onBeat(beat)) c.add(beat, Bus::drums, 0.4f, 0.0f, 0.1f, makeBoom());
        else if (lowDrumAllowed(beat)) c.add(beat, Bus::drums, 0.3f, 0.0f, 0.2f, makeTom(90.0f));
        break;
    case Hit::sparks:
        c.add(beat, Bus::effects, 0.1f, 0.3f, 0.3f, makeBurst(c.seed(), 2800.0f, 0.5f));
        break;
    case Hit::glow:
        c.add(beat, Bus::effects, 0.12f, 0.0f, 0.4f, makeCrash(c.seed(), 1.2f));
        c.add(beat, Bus::lead, 0.2f, -0.2f, 0.5f, makeBell(p.at(beat).arp[3] + 12.0f));
        c.add(beat + 0.75, Bus::lead, 0.12f, 0.2f, 0.5f, makeBell(p.at(beat).arp[2] + 12.0f));
        break;
    }
}

// A hit on the sixteenth nearest to a time of the show, with a one-beat swell of noise into it.
void cue(Composer& c, double ms, Hit kind, const Progression& p, bool swell = true) {
    const double beat = sixteenthNear(ms);
    if (swell) c.add(beat - 1.0, Bus::effects, 0.12f, 0.0f, 0.2f, makeRiser(c.seed(), static_cast<float>(seconds(1.0)), 1500.0f, 9000.0f));
    hit(c, beat, kind, p);
}

// ---- sections --------------------------------------------------------------------------------

// Pads open up from a dull murmur while the picture comes up from black (the master fades in);
// bass and an arpeggio join halfway, hats and a riser lead into the beat.
void intro(Composer& c) {
    const Progression p{0, 8, {&Am, &F, &C, &G}};
    pads(c, p, 0, dropBeat, 250.0f, 2200.0f, 0.32f, 0.8f, 1.2f);
    longBass(c, p, 16, dropBeat, 0.3f, 0.05f);
    for (int beat = 16; beat < dropBeat; ++beat) {
        const float ramp = static_cast<float>(beat - 16) / 16.0f;
        Progression one{beat, 1, {&p.at(beat)}};
        arpeggio(c, one, beat, beat + 1, 4, 0.05f + 0.06f * ramp, 0.1f + 0.5f * ramp);
    }
    for (int beat = 24; beat < dropBeat; ++beat) {
        const float ramp = static_cast<float>(beat - 24) / 8.0f;
        drums(c, beat, beat + 1, 0, {.snare = false, .clap = false, .openHats = false, .hatsPerBeat = beat < 28 ? 2 : 4,
                                     .hatGain = 0.05f + 0.07f * ramp});
    }
    snareRoll(c, 28, dropBeat, 0.04f, 0.22f);
    riser(c, 24, dropBeat, 0.22f);
}

// The sky: full beat, rolling bass, the arpeggio from the first cut on, a build into the stop.
void sky(Composer& c) {
    const Progression p{dropBeat, 4, {&Am, &F, &C, &G}};
    drums(c, dropBeat, 64, dropBeat, {.openHats = false});
    drums(c, 64, 96, dropBeat, {});
    drums(c, 96, 104, dropBeat, {.snare = false, .clap = false});
    rollingBass(c, p, dropBeat, 64, 0.25f);
    rollingBass(c, p, 64, 104, 0.4f);
    pads(c, p, dropBeat, 64, 1500.0f, 1900.0f, 0.28f);
    pads(c, p, 64, 96, 1900.0f, 2300.0f, 0.28f);
    pads(c, p, 96, 104, 2300.0f, 5000.0f, 0.3f);
    arpeggio(c, p, dropBeat, 64, 2, 0.08f, 0.35f);
    arpeggio(c, p, 64, 104, 4, 0.1f, 0.55f);
    snareRoll(c, 96, 104, 0.1f, 0.3f);
    riser(c, 97, processionBeat, 0.24f);

    hit(c, dropBeat, Hit::big, p);
    cue(c, 20500, Hit::impact, p);
    hit(c, 64, Hit::big, p);  // 27800: the cut to the falling balls
}

// The procession: groove, then the theme; the balls' landings over a half-time bar; the theme
// again after the white flash of the last act.
void procession(Composer& c) {
    const Progression p{processionBeat, 4, {&Am, &F, &C, &G}};
    const Progression landings{processionBeat, 4, {&F, &G, &Em, &Am}};
    const int themeBeat = processionBeat + 32, landingBeat = processionBeat + 64, finalBeat = processionBeat + 96;
    const int stopBeat = wormBeat - 1;

    drums(c, processionBeat, landingBeat, processionBeat, {});
    drums(c, landingBeat, finalBeat, processionBeat, {.halfTime = true, .clap = false, .openHats = false, .hatsPerBeat = 2});
    drums(c, finalBeat, stopBeat - 4, processionBeat, {.hatGain = 0.14f});
    drums(c, stopBeat - 4, stopBeat, processionBeat, {.snare = false, .clap = false, .hatGain = 0.14f});
    snareRoll(c, stopBeat - 4, stopBeat, 0.1f, 0.3f);

    rollingBass(c, p, processionBeat, landingBeat, 0.35f);
    offbeatBass(c, landings, landingBeat, finalBeat, 0.15f);
    rollingBass(c, p, finalBeat, stopBeat, 0.45f);

    pads(c, p, processionBeat, themeBeat, 1900.0f, 2100.0f, 0.27f);
    pads(c, p, themeBeat, landingBeat, 2100.0f, 2300.0f, 0.25f);
    pads(c, landings, landingBeat, finalBeat, 1300.0f, 1800.0f, 0.3f, 0.5f, 1.2f);
    pads(c, p, finalBeat, stopBeat + 1, 2300.0f, 4000.0f, 0.26f);

    arpeggio(c, p, processionBeat, themeBeat, 4, 0.1f, 0.5f);
    arpeggio(c, p, themeBeat, landingBeat, 2, 0.06f, 0.35f);
    arpeggio(c, landings, landingBeat, finalBeat, 2, 0.08f, 0.3f);
    arpeggio(c, p, finalBeat, stopBeat, 4, 0.09f, 0.6f);
    melody(c, theme, themeBeat, 0.2f);
    melody(c, theme, finalBeat, 0.2f);
    riser(c, stopBeat - 4, wormBeat, 0.24f);

    hit(c, processionBeat, Hit::big, p);
    cue(c, 52400, Hit::impact, p);
    cue(c, 59600, Hit::impact, p);
    cue(c, 66800, Hit::impact, p);
    cue(c, 72100, Hit::impact, p);
    // The balls of the second act land at these times.
    for (double ms : {73100.0, 74000.0, 75700.0, 76800.0, 77500.0, 78100.0, 79700.0, 81127.0, 81256.0, 81822.0, 83696.0})
        cue(c, ms, Hit::landing, landings, false);
    cue(c, 80300, Hit::impact, landings);
    cue(c, 86700, Hit::impact, landings);
    cue(c, 90100, Hit::big, p);
}

// The worms: darker chords, half-time snare with toms, an eruption for every worm.
void worms(Composer& c) {
    const Progression p{wormBeat, 4, {&Dm, &Bb, &F, &E}};
    const int buildBeat = cannonBeat - 4;
    drums(c, wormBeat, buildBeat, wormBeat, {.halfTime = true, .clap = false, .openHats = false, .hatGain = 0.09f, .toms = true});
    drums(c, buildBeat, cannonBeat, wormBeat, {.snare = false, .clap = false, .openHats = false, .hatGain = 0.1f});
    snareRoll(c, buildBeat, cannonBeat, 0.08f, 0.32f);
    offbeatBass(c, p, wormBeat, buildBeat, 0.55f);
    for (int beat = wormBeat; beat < buildBeat; ++beat)
        c.add(beat + 0.75, Bus::music, 0.26f, 0.0f, 0.0f, makeBass(p.at(beat).bass + 12.0f, static_cast<float>(seconds(0.2)), 0.5f));
    pads(c, p, wormBeat, buildBeat, 900.0f, 1500.0f, 0.3f, 0.5f, 1.0f);
    pads(c, p, buildBeat, cannonBeat, 1500.0f, 6000.0f, 0.3f, 0.2f, 0.6f);
    arpeggio(c, p, wormBeat, buildBeat, 2, 0.1f, 0.25f, -12.0f);
    riser(c, sixteenthNear(120600), cannonBeat, 0.26f);  // the picture whites out towards the cannon

    hit(c, wormBeat, Hit::big, p);
    for (double ms : {105400.0, 110600.0, 112600.0, 113800.0, 114900.0, 116200.0}) cue(c, ms, Hit::eruption, p, false);
}

// The cannon: the climax. Theme, its answer when the cannon fires, a counter-line between the
// white-outs, and the theme with its octave to close.
void cannon(Composer& c) {
    const Progression p{cannonBeat, 4, {&Am, &F, &C, &G}};
    const Progression between{cannonBeat, 4, {&F, &G, &Em, &Am}};
    const int answerBeat = cannonBeat + 32, counterBeat = cannonBeat + 64, finalBeat = cannonBeat + 96;
    const int stopBeat = cloudBeat - 1;

    drums(c, cannonBeat, counterBeat, cannonBeat, {.hatGain = 0.14f});
    drums(c, counterBeat, finalBeat, cannonBeat, {.clap = false, .hatsPerBeat = 2});
    drums(c, finalBeat, stopBeat - 4, cannonBeat, {.hatGain = 0.14f});
    drums(c, stopBeat - 4, stopBeat, cannonBeat, {.snare = false, .clap = false, .hatGain = 0.14f});
    snareRoll(c, stopBeat - 4, stopBeat, 0.12f, 0.34f);

    rollingBass(c, p, cannonBeat, counterBeat, 0.45f);
    offbeatBass(c, between, counterBeat, finalBeat, 0.25f);
    rollingBass(c, p, finalBeat, stopBeat, 0.5f);

    pads(c, p, cannonBeat, answerBeat, 2200.0f, 2500.0f, 0.26f);
    pads(c, p, answerBeat, counterBeat, 2500.0f, 2900.0f, 0.26f);
    pads(c, between, counterBeat, finalBeat, 1600.0f, 2200.0f, 0.3f, 0.4f, 1.2f);
    pads(c, p, finalBeat, stopBeat + 1, 2900.0f, 5000.0f, 0.27f);

    arpeggio(c, p, answerBeat, counterBeat, 4, 0.09f, 0.6f);
    arpeggio(c, between, counterBeat, finalBeat, 2, 0.08f, 0.35f);
    arpeggio(c, p, finalBeat, stopBeat, 4, 0.09f, 0.65f);
    melody(c, theme, cannonBeat, 0.2f);
    melody(c, answer, answerBeat, 0.17f);
    melody(c, counterLine, counterBeat, 0.18f);
    melody(c, theme, finalBeat, 0.17f);
    melody(c, theme, finalBeat, 0.09f, 12.0f);

    hit(c, cannonBeat, Hit::big, p);
    cue(c, 130200, Hit::impact, p);
    cue(c, 137000, Hit::big, p);  // the shells leave the cannon
    c.add(sixteenthNear(137000), Bus::effects, 0.3f, 0.0f, 0.4f, makeBurst(c.seed(), 180.0f, 1.4f));
    cue(c, 140200, Hit::impact, p);
    cue(c, 144100, Hit::impact, p);
    // White-outs: a riser over the fade to white, the hit where it clears.
    riser(c, sixteenthNear(150100), sixteenthNear(151100), 0.22f);
    cue(c, 151100, Hit::impact, between, false);
    cue(c, 158200, Hit::impact, between);
    riser(c, sixteenthNear(164400), sixteenthNear(165100), 0.22f);
    cue(c, 165100, Hit::impact, p, false);
    riser(c, sixteenthNear(168100) - 1.0, sixteenthNear(168800), 0.22f);
    cue(c, 168800, Hit::impact, p, false);
    cue(c, 171300, Hit::big, p);
    cue(c, 172400, Hit::impact, p);
    // Members of the formation burst into sparks.
    for (double ms : {140800.0, 141000.0, 142200.0, 144000.0, 145700.0, 148700.0, 153600.0, 155600.0, 164600.0,
                      168300.0, 171200.0})
        cue(c, ms, Hit::sparks, p, false);
    // The closing white-out, and the hit where the clouds begin.
    riser(c, stopBeat - 5, sixteenthNear(slotStartMs(5)), 0.26f);
    cue(c, slotStartMs(5), Hit::big, p, false);
}

// The clouds: soft beat, warm chords and the slow melody, bells on the glows; after the last
// downbeat the final chord rings and everything fades to silence.
void clouds(Composer& c) {
    const Progression p{cloudBeat, 4, {&Fmaj7, &G, &Em7, &Am}};
    drums(c, cloudBeat, lastKickBeat, cloudBeat, {.snare = false, .clap = true, .hatsPerBeat = 2, .hatGain = 0.08f});
    longBass(c, p, cloudBeat, lastKickBeat, 0.34f, 0.08f);
    pads(c, p, cloudBeat, lastKickBeat, 1600.0f, 2600.0f, 0.3f, 0.8f, 1.5f);
    arpeggio(c, p, cloudBeat + 16, lastKickBeat, 2, 0.06f, 0.3f);
    melody(c, closing, cloudBeat, 0.15f, 0.0f, 0.35f);

    for (double ms : {182600.0, 186200.0, 189700.0, 193000.0}) cue(c, ms, Hit::glow, p, false);

    const Progression last{lastKickBeat, 64, {&Am}};
    hit(c, lastKickBeat, Hit::big, last);
    const double ring = silentFromSeconds - beatToSeconds(lastKickBeat);
    PadSettings settings{.cutoffFromHz = 2600.0f, .cutoffToHz = 700.0f, .attack = 0.05f, .release = 3.0f};
    c.add(lastKickBeat, Bus::music, 0.32f, 0.0f, 0.45f, makePad(Am.pad, static_cast<float>(ring), settings, c.seed()));
    c.add(lastKickBeat, Bus::music, 0.3f, 0.0f, 0.0f, makeBass(Am.bass, static_cast<float>(ring), 0.05f));
    c.add(lastKickBeat, Bus::lead, 0.18f, 0.0f, 0.5f, makeBell(81.0f));
    c.add(lastKickBeat + 2, Bus::lead, 0.12f, 0.3f, 0.5f, makeBell(88.0f));
    c.add(lastKickBeat + 4, Bus::lead, 0.09f, -0.3f, 0.5f, makeBell(84.0f));
}

}  // namespace

bool kickOnBeat(int beat) {
    if (beat < dropBeat || beat > lastKickBeat) return false;
    // The stops before the procession, the worms and the clouds, and the build into the cannon.
    if (beat == processionBeat - 1 || beat == wormBeat - 1 || beat == cloudBeat - 1) return false;
    return beat < cannonBeat - 4 || beat >= cannonBeat;
}

MixPlan composeSoundtrack() {
    Composer c;
    c.plan.frames = static_cast<std::int64_t>(soundtrackSeconds * sampleRate);
    c.plan.echoSeconds = static_cast<float>(seconds(0.75));  // a dotted eighth
    c.plan.faders[static_cast<int>(Bus::drums)] = 0.5f;
    c.plan.faders[static_cast<int>(Bus::lead)] = 1.4f;
    for (int beat = 0; beat <= lastKickBeat; ++beat) {
        if (!kickOnBeat(beat)) continue;
        const bool soft = beat >= cloudBeat && beat < lastKickBeat;
        c.kick(beat, soft ? 0.68f : 0.85f);
    }
    intro(c);
    sky(c);
    procession(c);
    worms(c);
    cannon(c);
    clouds(c);

    const auto frameAt = [](double s) { return static_cast<std::int64_t>(s * sampleRate); };
    constexpr float level = 0.8f;
    c.plan.masterGain = {
        {0, 0.0f},
        {frameAt(2.0), 0.25f * level},
        {frameAt(4.5), 0.6f * level},
        {frameAt(7.0), level},
        {frameAt(fadeStartSeconds), level},
        {frameAt(fadeStartSeconds + 2.0), 0.7f * level},
        {frameAt(fadeStartSeconds + 4.0), 0.4f * level},
        {frameAt(fadeStartSeconds + 5.5), 0.18f * level},
        {frameAt(fadeStartSeconds + 6.5), 0.05f * level},
        {frameAt(silentFromSeconds), 0.0f},
    };
    return std::move(c.plan);
}

std::vector<std::int16_t> renderSoundtrack() { return mixDown(composeSoundtrack()); }

}  // namespace synth
