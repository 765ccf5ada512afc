// The show as a program: started the way users start it, on a private X server or none at all.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "app/timeline.h"
#include "tests/support/process.h"

namespace {

const std::string inShowDir = std::string("cd '") + DEMO_SHOW_DIR + "' && ";
// The shell helpers that wait for a condition, for the scripts below.
const std::string waits = ". \"" DEMO_SOURCE_DIR "/tests/support/waits.sh\"; ";

// Starts the show on a private X server, waits for a line of its log matching `until` (an
// extended regular expression without single or double quotes), checks it still runs a second
// later and stops it. The output ends with the show's log.
CommandResult runShowUntil(const std::string& screen, const std::string& arguments, const std::string& until) {
    const std::string log = makeTempDir("show_log_") + "/log";
    return runCommand(inShowDir + "xvfb-run -a -s '-screen 0 " + screen + "' sh -c '" + waits + "./demo " +
                      arguments + " >" + log + " 2>&1 & pid=$!; wait_log " + log + " \"" + until +
                      "\" && sleep 1 && kill -0 $pid && echo still running; kill $pid; wait $pid; cat " + log + "'");
}

TEST(Program, StartsAndKeepsRunningOnAPlainXServer) {
    const CommandResult run = runShowUntil("1280x800x24", "", "^Ready to use audio");
    EXPECT_NE(run.output.find("still running"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Game mode 1280x800:32@60 is not available"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Glew display created successfully!\n\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Initializing audio...\n ok.\n\nVersion "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Ready to use audio...\n\n"), std::string::npos) << run.output;
}

TEST(Program, TakesItsSizeFromTheCommandLine) {
    const CommandResult run = runShowUntil("1280x800x24", "640 360 extra", "^Game mode ");
    EXPECT_NE(run.output.find("still running"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Game mode 640x360:32@60"), std::string::npos) << run.output;
}

TEST(Program, SizesItCannotHaveAreBroughtIntoRangeWithALine) {
    const struct {
        const char* arguments;
        const char* line;
    } cases[] = {
        {"20000 300", "Window size 20000x300 cannot be had; using 8192x300."},
        {"0 0", "Window size 0x0 cannot be had; using 16x16."},
        {"-640 360", "Window size -640x360 cannot be had; using 16x360."},
        {"wide tall", "Window size 0x0 cannot be had; using 16x16."},
    };
    for (const auto& c : cases) {
        // Past the start-up's last line every render target has been made.
        const CommandResult run = runShowUntil("1280x800x24", c.arguments, "^Ready to use audio");
        EXPECT_NE(run.output.find("still running"), std::string::npos) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.line), std::string::npos) << c.arguments << "\n" << run.output;
        EXPECT_EQ(run.output.find("not complete"), std::string::npos) << c.arguments << "\n" << run.output;
    }
}

// The window manager's close and an Escape key held down (its auto-repeat included) each end the
// show at once, with status 0 and no error from the window system. The show's own end at 210 s
// comes after the timeout.
TEST(Program, EndsCleanlyWhenClosedOrOnEscapeHeld) {
    const struct {
        const char* name;
        std::string action;
    } cases[] = {
        {"closed", X_CLOSE_WINDOW_PATH " adf"},
        {"Escape held", "xdotool mousemove 100 100 keydown Escape sleep 3 keyup Escape"},
    };
    for (const auto& c : cases) {
        const CommandResult run = runCommand(inShowDir + "xvfb-run -a -s '-screen 0 640x480x24' sh -c '" + waits +
                                             "timeout 150 ./demo 320 180 & pid=$!; "
                                             "wait_for \"the window adf to show\" window_viewable -name adf && " +
                                             c.action + "; wait $pid'");
        EXPECT_EQ(run.exitCode, 0) << c.name << "\n" << run.output;
        EXPECT_EQ(run.output.find("X Error"), std::string::npos) << c.name << "\n" << run.output;
    }
}

// The text after `key` up to the next ')' or end of line.
std::string after(const std::string& text, const std::string& key) {
    const std::size_t at = text.find(key);
    if (at == std::string::npos) return "";
    const std::size_t from = at + key.size();
    return text.substr(from, text.find_first_of(")\n", from) - from);
}

// A start late in the show plays to its end; the state it jumped to is the one a 60 fps capture
// steps to, particles, flags and the random sequence included.
TEST(Program, StartsAnywhereInTheStateOfA60FpsCapture) {
    const CommandResult run = runCommand(inShowDir + "xvfb-run -a -s '-screen 0 640x480x24' timeout 150 ./demo 320 180 --start 205");
    EXPECT_EQ(run.exitCode, 0) << "the show ends by itself at 210 s\n" << run.output;
    const std::string jumped = after(run.output, "Started at 205.000 s: 12300 frames stepped in ");
    ASSERT_NE(jumped, "") << run.output;
    const std::string out = makeTempDir("start_");
    const CommandResult capture = runCommand(std::string(DEMO_CAPTURE_PATH) + " --fps 60 --size 160x90 --at 205000 --out " + out);
    ASSERT_EQ(capture.exitCode, 0) << capture.output;
    EXPECT_EQ(jumped.substr(jumped.find("(state ") + 7), after(capture.output, "(205000 ms, state before it "));

    // Plain decimal seconds only.
    for (const char* bad : {"abc", "-1", "210", "1e9", "", "0x10", " 5", "+5", "1.2.3"}) {
        const CommandResult refused = runCommand(inShowDir + "timeout 60 ./demo --start '" + bad + "'");
        EXPECT_EQ(refused.exitCode, 2) << bad << "\n" << refused.output;
        EXPECT_NE(refused.output.find("--start wants plain decimal seconds from 0 to below 210 (no sign, exponent or spaces)"), std::string::npos) << refused.output;
    }
    // Below 210, however close: the show's last millisecond.
    const CommandResult last = runCommand(inShowDir + "xvfb-run -a -s '-screen 0 640x480x24' timeout 150 ./demo 320 180 "
                                          "--start 209.9999");
    EXPECT_EQ(last.exitCode, 0) << last.output;
    EXPECT_NE(last.output.find("Started at 209.999 s: "), std::string::npos) << last.output;
}

// --help says how to start the show and opens nothing; an option it does not know is refused
// with the same words. Plain words are still the window size.
TEST(Program, SaysItsUsageAndRefusesUnknownOptions) {
    const struct {
        const char* arguments;
        int status;
    } cases[] = {{"--help", 0}, {"--bogus", 2}, {"640 360 --ful", 2}, {"--dev --paused --help", 0}};
    for (const auto& c : cases) {
        const CommandResult run = runCommand(inShowDir + "env -u DISPLAY timeout 60 ./demo " + c.arguments);
        EXPECT_EQ(run.exitCode, c.status) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find("usage: demo [width height] [--start SECONDS] [--dev [--paused]]"),
                  std::string::npos) << c.arguments << "\n" << run.output;
        EXPECT_EQ(run.output.find("Window system"), std::string::npos) << c.arguments << "\n" << run.output;
    }
    const CommandResult refused = runCommand(inShowDir + "env -u DISPLAY ./demo --bogus");
    EXPECT_NE(refused.output.find("demo: unknown option --bogus\n"), std::string::npos) << refused.output;
}

// The authoring mode's window, driven with xdotool; the script sees the helpers of waits.sh and
// dev_window.sh. The shows' timeouts only end a hang: each wait has its own deadline.
std::string inDevWindow(const std::string& dir, const std::string& script) {
    return "cd '" + dir + "' && xvfb-run -a -s '-screen 0 640x480x24' sh -c '" + waits + ". \"" DEMO_SOURCE_DIR
           "/tests/support/dev_window.sh\"; " + script + "'";
}

// The numbers after `key`, as milliseconds.
std::vector<long> millisecondsAfter(const std::string& text, const std::string& key) {
    std::istringstream numbers(after(text, key));
    std::vector<long> ms;
    for (double seconds; numbers >> seconds;) ms.push_back(std::lround(seconds * 1000.0));
    return ms;
}

// Space holds music and clock; the arrows and pages land 1 s and 10 s away, a seek back on the state
// a 60 fps capture steps to; at its end the show holds instead of ending; Escape still ends it.
// The sleeps let time pass: held, the clock must not move in it.
TEST(Program, DevModeKeysHoldTheClockAndSeek) {
    const std::string log = makeTempDir("dev_keys_") + "/log";
    const CommandResult run = runCommand(inDevWindow(DEMO_SHOW_DIR,
        "timeout 600 ./demo 320 180 --dev --start 100 >" + log + " 2>&1 & pid=$!; "
        "wait_title \" slot \" && press space && wait_title paused && a=$(seconds) && sleep 1 && "
        "echo held $a $(seconds) && press Right && b=$(wait_moved $a) && press Next && c=$(wait_moved $b) && "
        "press Left && d=$(wait_moved $c) && press Prior && e=$(wait_moved $d) && echo seeks $a $b $c $d $e && "
        "sleep 2 && t0=$(date +%s%3N) && press space && wait_title \" ms$\" && sleep 1 && echo playing $e $(seconds) && "
        "echo resumed for $(($(date +%s%3N) - t0)) ms; "
        "press Escape; wait $pid; echo status $?; cat " + log));
    EXPECT_NE(run.output.find("status 0"), std::string::npos) << run.output;
    const std::vector<long> held = millisecondsAfter(run.output, "held ");
    ASSERT_EQ(held.size(), 2u) << run.output;
    EXPECT_EQ(held[0], held[1]) << "a paused clock stands still";
    const std::vector<long> seeks = millisecondsAfter(run.output, "seeks ");
    ASSERT_EQ(seeks.size(), 5u) << run.output;
    const long steps[] = {1000, 10000, -1000, -10000};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(seeks[i + 1] - seeks[i], steps[i]) << run.output;
    const std::vector<long> playing = millisecondsAfter(run.output, "playing ");
    ASSERT_EQ(playing.size(), 2u) << run.output;
    EXPECT_GT(playing[1], playing[0]) << "resumed";
    // However slow the machine, the show cannot have played longer than the wall clock ran since
    // Space (the music's clock may lead by part of an audio buffer); the 3 s and more it was held
    // are not played.
    const std::string resumed = after(run.output, "resumed for ");
    ASSERT_NE(resumed, "") << run.output;
    EXPECT_LE(playing[1] - playing[0], std::stol(resumed) + 100) << "the music goes on from where it was held\n"
                                                                 << run.output;

    char seekBack[64];
    std::snprintf(seekBack, sizeof seekBack, "Seeked to %.3f s from ", seeks[4] / 1000.0);
    const std::string stepped = after(run.output, seekBack);
    ASSERT_NE(stepped, "") << run.output;
    // The capture takes the frame nearest to a time; the first one at or after the seek has the
    // same frames before it.
    const int frame = firstFrameAtOrAfter(static_cast<int>(seeks[4]), 60);
    const std::string out = makeTempDir("dev_keys_capture_");
    const CommandResult capture = runCommand(std::string(DEMO_CAPTURE_PATH) + " --fps 60 --size 160x90 --at " +
                                             std::to_string(frameTimeMs(frame, 60)) + " --out " + out);
    ASSERT_EQ(capture.exitCode, 0) << capture.output;
    EXPECT_EQ(stepped.substr(stepped.find("(state ") + 7), after(capture.output, "state before it ")) << run.output;

    const CommandResult end = runCommand(inDevWindow(DEMO_SHOW_DIR,
        "timeout 600 ./demo 320 180 --dev --start 209.5 >/dev/null 2>&1 & pid=$!; "
        "wait_title paused && echo held at $(seconds); press Escape; wait $pid; echo status $?"));
    EXPECT_NE(end.output.find("held at 209.999"), std::string::npos) << end.output;
    EXPECT_NE(end.output.find("status 0"), std::string::npos) << end.output;
}

// A saved file reloads the data set at the current time, also when the check has a new note for
// it (a float suffix, which stricter drivers refuse). A shader saved with a syntax error is
// reported and the show goes on with the version it has; saved again fixed, it is picked up.
TEST(Program, DevModeReloadsADataSetOnlyWhenItBuilds) {
    const std::string dir = makeTempDir("dev_reload_");
    const CommandResult copied = runCommand("cp -r '" DEMO_SHOW_DIR "/data' '" + dir + "/' && ln -s '" DEMO_SHOW_DIR
                                            "/biisi.mp3' '" DEMO_SHOW_DIR "/demo' '" + dir + "/'");
    ASSERT_EQ(copied.exitCode, 0) << copied.output;
    const CommandResult run = runCommand(inDevWindow(dir,
        "timeout 600 ./demo 320 180 --dev --start 60 >log 2>&1 & pid=$!; "
        "wait_title \" slot \" && cp data/flame.xsi flame.good && "
        "sed -i \"0,/gl_FragColor/s//float noted = 0.0f; gl_FragColor/\" data/flame.xsi && "
        "wait_log log \"^Started at\" 2 && wait_title \" slot \" && "
        "sed -i \"0,/gl_FragColor/s//gl_FragColor @/\" data/flame.xsi && "
        "wait_log log \"goes on with the version it has\" && sleep 1 && kill -0 $pid && echo still running && "
        "cp flame.good data/flame.xsi && wait_log log \"^Started at\" 3 && wait_title \" slot \"; "
        "press Escape; wait $pid; echo status $?; cat log"));
    EXPECT_NE(run.output.find("status 0"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("still running"), std::string::npos) << run.output;
    const std::size_t broken = run.output.find("goes on with the version it has");
    const std::size_t reported = run.output.rfind("flame.xsi, material flames: its GLSL program does not build",
                                                  broken);
    EXPECT_NE(reported, std::string::npos) << run.output;
    EXPECT_LT(run.output.find("refuses it at GLSL 1.10"), run.output.find("Reloading the data set at ")) << run.output;
    const std::size_t lastReload = run.output.rfind("Reloading the data set at ");
    ASSERT_NE(lastReload, std::string::npos) << run.output;
    EXPECT_GT(lastReload, broken) << run.output;
    EXPECT_EQ(run.output.find("does not build", lastReload), std::string::npos) << "the fixed shader is in use";
}

// Ctrl-C or kill ends the authoring mode as Escape does, without its version copies left behind,
// and by that signal.
TEST(Program, DevModeStoppedBySignalLeavesNoCopies) {
    const std::string temp = makeTempDir("dev_stop_");
    for (const char* signal : {"INT", "TERM"}) {
        const CommandResult run = runCommand(inDevWindow(DEMO_SHOW_DIR,
            // timeout hands the signal on; a show that takes no notice of it is killed at the hang guard.
            std::string("TMPDIR=") + temp + " timeout -k 5 300 ./demo 320 180 --dev --start 60 >/dev/null 2>&1 & "
            "pid=$!; wait_title \" slot \" && ls " + temp + " | grep -c demo-dev- && kill -" + signal + " $pid; "
            "wait $pid; echo status $?; echo left $(ls " + temp + " | grep -c demo-dev-)"));
        EXPECT_NE(run.output.find("1\n"), std::string::npos) << signal << ": the copies were made\n" << run.output;
        EXPECT_NE(run.output.find(std::string("status ") + (signal[0] == 'I' ? "130" : "143")), std::string::npos)
            << signal << "\n" << run.output;
        EXPECT_NE(run.output.find("left 0"), std::string::npos) << signal << "\n" << run.output;
    }
}

// Quick presses make one exact seek; a seek back steps from a state kept on the way and reaches the
// state a 60 fps capture has; the end holds without a seek line, and Space there plays from 0.
TEST(Program, DevModeSeeksExactlyHoweverFastTheKeysCome) {
    const CommandResult run = runCommand(inDevWindow(DEMO_SHOW_DIR,
        "timeout 600 ./demo 320 180 --dev --start 40 --paused >log.seeks 2>&1 & pid=$!; "
        "wait_title paused && xdotool mousemove 100 100 key --delay 1 Right Right Right Right Right && "
        "wait_title \"^adf  45.000 s\" && xdotool mousemove 100 100 key --delay 1 Next Next Next Next Next Next "
        "Next Next Next Next Next Next Next Next Next Next Next && wait_title \"^adf  209.999 s\" && "
        "xdotool mousemove 100 100 key --delay 1 Prior Prior Prior Prior Prior Prior Prior Prior Prior Prior Prior "
        "Prior Prior Prior && wait_title \"^adf  69.999 s\" && press period && wait_title \"^adf  70.000 s\" && "
        "press bracketleft && wait_title \"^adf  45.500 s\" && echo landed; "
        "press Escape; wait $pid; echo status $?; cat log.seeks; rm -f log.seeks"));
    EXPECT_NE(run.output.find("landed"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("status 0"), std::string::npos) << run.output;
    const std::string stepped = after(run.output, "Seeked to 69.999 s from ");
    ASSERT_NE(stepped, "") << run.output;
    EXPECT_LT(std::stoi(after(stepped, ": ")), 300) << "stepped from a state kept within 5 s: " << stepped;
    const std::string out = makeTempDir("dev_seeks_capture_");
    const CommandResult capture = runCommand(std::string(DEMO_CAPTURE_PATH) + " --fps 60 --size 160x90 --at " +
        std::to_string(frameTimeMs(firstFrameAtOrAfter(69999, 60), 60)) + " --out " + out);
    ASSERT_EQ(capture.exitCode, 0) << capture.output;
    EXPECT_EQ(stepped.substr(stepped.find("(state ") + 7), after(capture.output, "state before it ")) << run.output;

    const CommandResult end = runCommand(inDevWindow(DEMO_SHOW_DIR,
        "timeout 600 ./demo 320 180 --dev --start 209.5 >log.end 2>&1 & pid=$!; "
        "wait_title paused && echo held at $(seconds) && press space && wait_title \"^adf  0\\.[0-9]+ s  slot 1 \" && "
        "echo from the start; press Escape; wait $pid; cat log.end; rm -f log.end"));
    EXPECT_NE(end.output.find("held at 209.999"), std::string::npos) << end.output;
    EXPECT_NE(end.output.find("from the start"), std::string::npos) << end.output;
    EXPECT_EQ(end.output.find("Seeked to 209.999"), std::string::npos) << "nobody asked for that seek";
}

// --paused holds the show on its first millisecond however long the start-up took.
TEST(Program, DevModePausedStartsHeldAtZero) {
    const CommandResult run = runCommand(inDevWindow(DEMO_SHOW_DIR,
        "timeout 600 ./demo 320 180 --dev --paused >/dev/null 2>&1 & pid=$!; "
        "wait_title paused && echo held at $(seconds); press Escape; wait $pid; echo status $?"));
    EXPECT_NE(run.output.find("held at 0.000\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("status 0"), std::string::npos) << run.output;
}

// Presses that pile up while a seek steps are all taken: 10 s on, then 40 times 1 s.
TEST(Program, DevModeLosesNoPressesThatComeTogether) {
    std::string rights;
    for (int i = 0; i < 40; ++i) rights += " Right";
    const CommandResult run = runCommand(inDevWindow(DEMO_SHOW_DIR,
        "timeout 600 ./demo 320 180 --dev --start 10 --paused >/dev/null 2>&1 & pid=$!; "
        "wait_title paused && xdotool mousemove 100 100 key --delay 0 Next" + rights + " && "
        "wait_title \"^adf  60.000 s\" && echo landed; press Escape; wait $pid"));
    EXPECT_NE(run.output.find("landed"), std::string::npos) << run.output;
}

// Seeks forward from a held picture keep states too: the first seek back after them, and a seek on
// over ground covered before, step from a state kept within 5 s, and land on a capture's state.
TEST(Program, DevModeSeeksBothWaysFromKeptStates) {
    const CommandResult run = runCommand(inDevWindow(DEMO_SHOW_DIR,
        "timeout 600 ./demo 320 180 --dev --paused >log.kept 2>&1 & pid=$!; wait_title paused && "
        "for s in 10 20 30 40 50 60; do press Next && wait_title \"^adf  $s\\.000 s\" || break; done && "
        "press Left && wait_title \"^adf  59\\.000 s\" && press Prior Prior Prior && wait_title \"^adf  29\\.000 s\" && "
        "press Next Next Next && wait_title \"^adf  59\\.000 s\" && echo landed; "
        "press Escape; wait $pid; cat log.kept; rm -f log.kept"));
    ASSERT_NE(run.output.find("landed"), std::string::npos) << run.output;
    // Back from 60 s, then on again from 29 s (in one seek or more, as the presses came).
    const std::size_t back = run.output.find("Seeked to 59.000 s from 60.000 s: ");
    const std::size_t on = run.output.rfind("Seeked to 59.000 s from ");
    ASSERT_NE(back, std::string::npos) << run.output;
    ASSERT_GT(on, back) << run.output;
    for (const std::size_t seek : {back, on}) {
        const std::string stepped = after(run.output.substr(seek), " s: ");
        EXPECT_LT(std::stoi(stepped), 300) << stepped;
    }
    const std::string out = makeTempDir("dev_kept_capture_");
    const CommandResult capture =
        runCommand(std::string(DEMO_CAPTURE_PATH) + " --fps 60 --size 160x90 --at 59000 --out " + out);
    ASSERT_EQ(capture.exitCode, 0) << capture.output;
    const std::string forward = after(run.output.substr(on), "(state ");
    EXPECT_EQ(forward, after(capture.output, "state before it ")) << run.output;
}

// A save made while the check of the one before runs is checked in turn: the show restarts on
// exactly the version that was checked, refuses the broken one after it and says so in its title
// until a good version loads, also from a data folder that replaced the old one. Files the show
// does not read start no check.
TEST(Program, DevModeStartsOnlyTheVersionItChecked) {
    const std::string dir = makeTempDir("dev_race_");
    const CommandResult copied = runCommand("cp -r '" DEMO_SHOW_DIR "/data' '" + dir + "/' && ln -s '" DEMO_SHOW_DIR
                                            "/biisi.mp3' '" DEMO_SHOW_DIR "/demo' '" + dir + "/'");
    ASSERT_EQ(copied.exitCode, 0) << copied.output;
    const CommandResult run = runCommand(inDevWindow(dir,
        "timeout 600 ./demo 320 180 --dev --start 60 --paused >log 2>&1 & pid=$!; "
        "wait_title paused && sleep 4 && cp data/flame.xsi flame.good && "
        "sed -i \"0,/gl_FragColor/s//gl_FragColor /\" data/flame.xsi && wait_title \"checking data\" && "
        "sed -i \"0,/gl_FragColor/s//gl_FragColor @/\" data/flame.xsi && wait_title \"on disk: refused\" && "
        "echo refused && echo notes > data/notes.txt && echo swap > data/.flame.xsi.swp && sleep 1 && "
        "title | grep -q checking || echo ignored; "
        "cp -r data data.new && cp flame.good data.new/flame.xsi && mv data data.old && mv data.new data && "
        "wait_log log \"^Reloading the data set\" 2 && wait_title \" slot \" && sleep 1 && echo now $(title); "
        "press Escape; wait $pid; echo status $?; cat log"));
    EXPECT_NE(run.output.find("status 0"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("refused"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("ignored"), std::string::npos) << run.output;
    const std::size_t firstReload = run.output.find("Reloading the data set at ");
    const std::size_t refusal = run.output.find("goes on with the version it has");
    ASSERT_NE(firstReload, std::string::npos) << run.output;
    EXPECT_GT(refusal, firstReload) << "the broken save is checked after the good one started";
    EXPECT_NE(run.output.find("Reloading the data set at ", refusal), std::string::npos) << run.output;
    EXPECT_EQ(after(run.output, "now ").find("refused"), std::string::npos) << run.output;
}

// A reload whose new show ends before it shows (here killed while it starts) leaves the old one
// going, without the copy it was given; the next reload starts, and the end leaves no copies.
TEST(Program, DevModeKeepsItsShowWhenTheReloadFails) {
    const std::string temp = makeTempDir("dev_failed_reload_");
    const std::string newShow = "\"demo .*[-]-watch\"";  // the brackets keep the pattern from matching itself
    const CommandResult run = runCommand(inDevWindow(DEMO_SHOW_DIR,
        "TMPDIR=" + temp + " timeout 600 ./demo 320 180 --dev --start 60 --paused >" + temp + "/log 2>&1 & pid=$!; "
        "wait_title paused && press l && wait_for \"the new show\" pgrep -f " + newShow + " && pkill -KILL -f " +
        newShow + " && wait_log " + temp + "/log \"ended before it showed\" && echo copies $(ls -d " + temp +
        "/demo-dev-*/v* | wc -l) && press Right && wait_title \"^adf  61.000 s\" && echo still showing && press l && "
        "wait_log " + temp + "/log \"^Started at\" 2 && press Right && wait_title \"^adf  62.000 s\" && echo reloaded; "
        "press Escape; wait $pid; echo status $?; echo left $(ls " + temp + " | grep -c demo-dev-); cat " + temp + "/log"));
    for (const char* line : {"copies 1\n", "still showing", "reloaded", "status 0", "left 0"})
        EXPECT_NE(run.output.find(line), std::string::npos) << line << "\n" << run.output;
    EXPECT_NE(run.output.find("The reloaded show ended before it showed (status 137); this one goes on with the data "
                              "set it has."), std::string::npos) << run.output;
}

// A reload opens the new window where the old one was, with its size, and repeats the command line
// but for what it sets itself.
TEST(Program, DevModeReloadKeepsTheWindowWhereItWas) {
    const CommandResult run = runCommand(inDevWindow(DEMO_SHOW_DIR,
        "timeout 600 ./demo 320 180 --dev --start 60 --paused >log.place 2>&1 & pid=$!; "
        "wait_title paused && w=$(xdotool search --name \"^adf  \" | head -n 1) && xdotool windowmove $w 200 150 && "
        "xdotool windowsize $w 400 240 && wait_window \"200 150 400 240\" -id $w && "
        "xdotool mousemove 300 200 key r && wait_log log.place \"^Started at\" 2 && wait_title paused && "
        "w=$(xdotool search --name \"^adf  \" | head -n 1) && wait_window \"200 150 400 240\" -id $w; "
        "xwininfo -id $(xdotool search --name \"^adf  \" | head -n 1) | grep -E \"Absolute|Width|Height\"; "
        "echo new show: $(pgrep -af \"demo .*[-]-watch\" | cut -d \" \" -f 2-); "
        "xdotool mousemove 300 200 key Escape; wait $pid; echo status $?; rm -f log.place"));
    EXPECT_NE(run.output.find("status 0"), std::string::npos) << run.output;
    for (const char* line : {"Absolute upper-left X:  200", "Absolute upper-left Y:  150", "Width: 400", "Height: 240"})
        EXPECT_NE(run.output.find(line), std::string::npos) << line << "\n" << run.output;
    EXPECT_NE(run.output.find("new show: ./demo 400 240 --dev --start 60.000 --watch " DEMO_SHOW_DIR
                              " --window-at 200,150 --paused\n"), std::string::npos) << run.output;
}

// T draws the time and slot in the window's corner and takes them away again; off at the start.
TEST(Program, DevModeTimeLineComesAndGoesWithT) {
    // Without the time line the window shows the frame demo-capture writes for that time; a grab
    // that fails matches nothing.
    const std::string out = makeTempDir("dev_time_line_");
    const CommandResult capture = runCommand(std::string(DEMO_CAPTURE_PATH) + " --fps 60 --size 320x180 --at 100000 --out " + out);
    ASSERT_EQ(capture.exitCode, 0) << capture.output;
    const std::string md5 = " -pix_fmt rgb24 -frames:v 1 -f md5 -";
    const std::string off = runCommand("ffmpeg -loglevel error -i " + out + "/frame-100000.png" + md5).output;
    ASSERT_NE(off, "");
    const std::string grabs =
        "grab() { ffmpeg -loglevel error -f x11grab -video_size 320x180 -i $DISPLAY+64,64" + md5 + "; }; "
        "grab_is() { shown=$(grab) && [ \"$shown\" = \"$1\" ]; }; "
        "grab_is_not() { shown=$(grab) && [ \"$shown\" != \"$1\" ]; }; off=" + off.substr(0, off.find('\n')) + "; ";
    const CommandResult run = runCommand(inDevWindow(DEMO_SHOW_DIR, grabs +
        "timeout 600 ./demo 320 180 --dev --start 100 --paused >/dev/null 2>&1 & pid=$!; "
        "wait_title paused && wait_for \"the frame of 100 s\" grab_is \"$off\" && echo off $shown && "
        "press t && wait_for \"the time line to show\" grab_is_not \"$off\" && echo on $shown && "
        "press t && wait_for \"the time line to go\" grab_is \"$off\" && echo off $shown; press Escape; wait $pid"));
    const std::string first = after(run.output, "off "), shown = after(run.output, "on ");
    ASSERT_NE(first, "") << run.output;
    EXPECT_NE(shown, first) << run.output;
    EXPECT_EQ(after(run.output.substr(run.output.find("on ")), "off "), first) << run.output;
}

// What the author sees is the frame demo-capture writes for that time, pixel for pixel.
TEST(Program, DevModeWindowShowsTheCapturedFrame) {
    const std::string out = makeTempDir("dev_seen_capture_");
    const CommandResult capture =
        runCommand(std::string(DEMO_CAPTURE_PATH) + " --fps 60 --size 320x180 --at 30000,100000,160000 --out " + out);
    ASSERT_EQ(capture.exitCode, 0) << capture.output;
    const std::string md5 = " -pix_fmt rgb24 -frames:v 1 -f md5 -";
    for (const char* start : {"30", "100", "160"}) {
        const CommandResult written = runCommand("ffmpeg -loglevel error -i " + out + "/frame-" + start + "000.png" + md5);
        ASSERT_NE(written.output, "") << start << " s";
        // Waits for the window to show that frame; the last grab is said either way.
        const CommandResult seen = runCommand(inDevWindow(DEMO_SHOW_DIR,
            "grab() { ffmpeg -loglevel error -f x11grab -video_size 320x180 -i $DISPLAY+64,64" + md5 + "; }; "
            "grab_is() { shown=$(grab) && [ \"$shown\" = \"$1\" ]; }; "
            "timeout 600 ./demo 320 180 --dev --start " + start + " --paused >/dev/null 2>&1 & pid=$!; "
            "wait_title paused && wait_for \"the captured frame of " + start + " s\" grab_is " +
            written.output.substr(0, written.output.find('\n')) + "; echo seen $shown; press Escape; wait $pid"));
        const std::string shown = after(seen.output, "seen ");
        ASSERT_NE(shown, "") << seen.output;
        EXPECT_EQ(shown + "\n", written.output) << start << " s";
    }
}

// A working directory without a data set (a shortcut with no "Start in", a full path typed in a
// console) plays the one beside the program, saying so; with none there either the show says where
// it looked and fails instead of playing black silence.
TEST(Program, FindsItsDataSetBesideItselfOrSaysWhereItLooked) {
    const std::string elsewhere = makeTempDir("elsewhere_");
    const std::string alone = makeTempDir("alone_");
    const CommandResult copied = runCommand("cp '" DEMO_SHOW_DIR "/demo' '" + alone + "/demo'");
    ASSERT_EQ(copied.exitCode, 0) << copied.output;
    const struct {
        std::string program;
        int status;
        std::string line;
    } cases[] = {
        {DEMO_SHOW_DIR "/demo", 0,
         "No data set in \"" + elsewhere + "\": using the one beside the program, in \"" DEMO_SHOW_DIR "\".\n"},
        {alone + "/demo", 1,
         "No data set: neither \"" + elsewhere + "\" nor \"" + alone +
             "\", the program's folder, holds data/ or biisi.mp3.\n"},
    };
    for (const auto& c : cases) {
        const CommandResult run = runCommand("cd '" + elsewhere + "' && xvfb-run -a -s '-screen 0 640x480x24' timeout 60 '" +
                                             c.program + "' 320 200 --start 209.5");
        EXPECT_EQ(run.exitCode, c.status) << c.program << "\n" << run.output;
        EXPECT_NE(run.output.find(c.line), std::string::npos) << c.program << "\n" << run.output;
        EXPECT_EQ(run.output.find("not found"), std::string::npos) << c.program << "\n" << run.output;
        // Nothing opens without a data set.
        EXPECT_EQ(run.output.find("Glew display created") != std::string::npos, c.status == 0) << run.output;
    }
}

TEST(Program, FailsClearlyWithoutADisplay) {
    const CommandResult run = runCommand(inShowDir + "env -u DISPLAY timeout 60 ./demo");
    EXPECT_NE(run.exitCode, 0) << run.output;
    EXPECT_NE(run.exitCode, 124) << run.output;
    EXPECT_NE(run.output.find("Window system error: "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Creating window failed!\n"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("Initializing audio"), std::string::npos) << "nothing starts without a window";
}

}  // namespace
