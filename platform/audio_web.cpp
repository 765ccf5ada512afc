// The music clock in a browser: Web Audio plays the music the page decoded while the data
// loaded (Module.demoMusic: its AudioContext, the AudioBuffer or why there is none). The
// position is the context's time since the source started; suspend() holds it, and a seek
// starts a new source at the offset. Without music the page's clock (performance.now) runs the
// show, held and moved the same way.
#include <emscripten.h>

#include "base/print_line.h"
#include "platform/audio.h"

namespace {

// The player's state lives beside the page's: anchorMs is the music time at anchorS, the
// context's (or the page's) time in seconds, while nothing holds it.
EM_JS(int, webMusicPrepare, (), {
    const music = Module.demoMusic || {};
    Module.demoPlayer = {
        context: music.context || null,
        buffer: music.buffer || null,
        source: null,
        paused: false,
        anchorMs: 0,
        anchorS: 0,
        now: function() {
            return this.buffer && this.context ? this.context.currentTime : performance.now() / 1000;
        },
    };
    return Module.demoPlayer.buffer ? 1 : 0;
});

EM_JS(void, webMusicReason, (char* text, int size), {
    const music = Module.demoMusic || {};
    stringToUTF8(music.error || "the page has no music", text, size);
});

EM_JS(void, webMusicStartAt, (double ms), {
    const p = Module.demoPlayer;
    if (!p) return;
    if (p.source) {
        p.source.onended = null;
        try { p.source.stop(); } catch (e) {}
        p.source = null;
    }
    p.anchorMs = ms;
    p.anchorS = p.now();
    if (!p.buffer || !p.context || ms / 1000 >= p.buffer.duration) return;
    const source = p.context.createBufferSource();
    source.buffer = p.buffer;
    source.connect(p.context.destination);
    source.start(0, ms / 1000);
    p.source = source;
});

EM_JS(double, webMusicPositionMs, (), {
    const p = Module.demoPlayer;
    if (!p) return 0;
    if (p.paused) return p.anchorMs;
    return p.anchorMs + (p.now() - p.anchorS) * 1000;
});

EM_JS(void, webMusicHold, (int hold), {
    const p = Module.demoPlayer;
    if (!p || p.paused == !!hold) return;
    if (hold) {
        p.anchorMs = p.anchorMs + (p.now() - p.anchorS) * 1000;
        p.paused = true;
        if (p.buffer && p.context) p.context.suspend();
    } else {
        p.paused = false;
        if (p.buffer && p.context) {
            // The context's time stood still while suspended: the anchor holds as it was.
            p.context.resume();
            p.anchorS = p.context.currentTime;
        } else {
            p.anchorS = p.now();
        }
    }
});

EM_JS(void, webMusicStop, (), {
    const p = Module.demoPlayer;
    if (p && p.source) {
        try { p.source.stop(); } catch (e) {}
        p.source = null;
    }
});

bool webCreate() { return true; }

int webVersion() { return __EMSCRIPTEN_major__ * 10000 + __EMSCRIPTEN_minor__ * 100 + __EMSCRIPTEN_tiny__; }

bool webInit() { return true; }

void webStartStream(const char* fileName) {
    if (webMusicPrepare() == 0) {
        char reason[256] = {};
        webMusicReason(reason, sizeof reason);
        reportDataProblem("Cannot open music \"%s\" (%s); the show runs on the page's clock.", fileName, reason);
    }
    webMusicStartAt(0);
}

void webUpdate() {}

std::uint32_t webPosition() {
    const double ms = webMusicPositionMs();
    return ms > 0 ? static_cast<std::uint32_t>(ms) : 0;
}

void webSetPosition(std::uint32_t ms) { webMusicStartAt(static_cast<double>(ms)); }

void webSetPaused(bool paused) { webMusicHold(paused ? 1 : 0); }

void webStopStream() { webMusicStop(); }

}  // namespace

const AudioDriver webAudioDriver = {
    "web",       webCreate,   webVersion,     webInit,      webStartStream,
    webUpdate,   webPosition, webSetPosition, webSetPaused, webStopStream,
};

const AudioDriver& showAudioDriver() { return webAudioDriver; }
