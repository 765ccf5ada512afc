// Stop requests from the console: Ctrl-C, Ctrl-Break and the console's closing. Windows has no
// SIGPIPE: a write to a child that has gone fails with ERROR_NO_DATA instead.
#include "platform/stop_signals.h"

#include <windows.h>

#include <atomic>
#include <csignal>

namespace {

std::atomic<int> stopSignal{0};

// What cmd.exe and other callers take for "ended by Ctrl-C".
constexpr UINT controlCExitStatus = 0xC000013A;

BOOL WINAPI onConsoleControl(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            stopSignal = SIGINT;
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            // The system ends the process as soon as this returns: hold it (for the few seconds the
            // system grants) while the main thread removes its partial output and exits.
            stopSignal = SIGTERM;
            Sleep(INFINITE);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void catchStopSignals() { SetConsoleCtrlHandler(onConsoleControl, TRUE); }

int stopSignalReceived() { return stopSignal; }

void endByStopSignal() {
    if (stopSignal != 0) ExitProcess(controlCExitStatus);
}
