// Ctrl-C and kill, caught so that a long capture ends between frames and removes its partial
// output; a broken pipe to a child shows as a write error instead of ending the process.
#pragma once

void catchStopSignals();

// The signal that asked the process to stop; 0 while none has.
int stopSignalReceived();

// Ends the process by the stop signal itself, so that a calling shell sees the interruption.
void endByStopSignal();
