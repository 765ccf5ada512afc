// The dust start of the slots that open on the drifting dust (the sky, the procession, the cannon):
// 2000 more dust particles, moved ten seconds on before the first frame shows them.
#pragma once

struct ParticleSystem;

// One flag per slot that starts the dust; each goes true on its slot's first frame and stays.
struct DustStartFlags {
    bool procession = false;  // slot 2
    bool cannon = false;      // slot 4
};

extern DustStartFlags dustStartFlags;

// Emits the dust box into the system and warms it up, unless done is already set; sets done.
// Nothing for a null system (done is still set, so a later frame does not try again).
void startDustOnce(ParticleSystem* dust, bool& done);
