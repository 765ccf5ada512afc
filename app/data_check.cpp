// The data set's check.
#include "app/data_check.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/music.h"
#include "app/reference_glsl.h"
#include "app/startup.h"
#include "app/window.h"
#include "base/file_kind.h"
#include "base/print_line.h"
#include "effects/addressed_names.h"
#include "platform/audio.h"

namespace {

// Silent, but the music is opened and decoded as the show would open it.
const AudioDriver checkAudioDriver = [] {
    AudioDriver driver = nullAudioDriver;
    driver.name = "check";
    driver.startStream = [](const char* fileName) {
        // SDL plays a WAV or other sound under the MP3's name, but the show's music is an MP3.
        const FileKind kind = fileKindOf(fileName);
        if (kind == FileKind::Directory || kind == FileKind::Wav || kind == FileKind::Png || kind == FileKind::Jpeg)
            reportDataProblem("Music \"%s\" %s %s, not MP3 sound.", fileName, kind == FileKind::Directory ? "is" : "holds",
                              fileKindName(kind));
        if (kind != FileKind::Directory) checkMusicFile(fileName);
    };
    return driver;
}();

void printSummary(const char* label) {
    const int problems = dataProblemCount();
    if (problems == 0)
        std::printf("%s: the data set is clean.\n", label);
    else
        std::printf("%s: %d problem%s; the show plays on without what they name.\n", label, problems,
                    problems == 1 ? "" : "s");
    std::fflush(stdout);
}

}  // namespace

void runDataCheck(const char* programName, const char* label) {
    setConsoleQuiet(true);
    setConsoleDetailed(true);
    // Without the folder every file the show reads is missing: one line says so.
    std::error_code error;
    if (!std::filesystem::is_directory("data", error)) {
        reportDataProblem("There is no folder data/ in %s: every scene file and image the show reads is missing.",
                          label);
        printSummary(label);
        std::exit(1);
    }
    setWindowDriver(&offscreenWindowDriver());
    setAudioDriver(&checkAudioDriver);
    char* windowArgs[] = {const_cast<char*>(programName), nullptr};
    if (!startShow(1, windowArgs, {160, 90}, false)) {
        std::fprintf(stderr, "%s: no OpenGL 2.0 context through %s, so nothing could be checked\n", programName,
                     currentWindowDriver().name);
        std::exit(2);
    }
    reportMissingNames();
    reportUnsetUniforms();
    noteReferenceGlsl();
    printSummary(label);
    exitShow(dataProblemCount() == 0 ? 0 : 1);
}
