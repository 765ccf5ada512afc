// Stop signals with sigaction.
#include "platform/stop_signals.h"

#include <signal.h>

namespace {

volatile sig_atomic_t stopSignal = 0;

void onStopSignal(int signal) { stopSignal = signal; }

}  // namespace

void catchStopSignals() {
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

int stopSignalReceived() { return stopSignal; }

void endByStopSignal() {
    if (stopSignal == 0) return;
    signal(stopSignal, SIG_DFL);
    raise(stopSignal);
}
