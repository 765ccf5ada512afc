// A burst that happens once in the whole run. Its guard is a flag of its own where the scene keeps
// one (in the carried state), else its spark system's emitted flag; the two differ only without a
// system to emit into, where a flag of its own is spent all the same, so that the burst's turn
// passes as it would with one.
#pragma once

struct ParticleSystem;

// True the one time the burst is due and has a system to emit into; sets the guard. ownFlag is
// null for a burst guarded by its system.
bool takeBurst(bool* ownFlag, ParticleSystem* sparks);
