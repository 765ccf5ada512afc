// The dust start of the slots that open on the drifting dust (the sky, the procession, the cannon):
// 2000 more dust particles, moved ten seconds on before the first frame shows them.
#pragma once

struct ParticleSystem;
struct ParticleTuning;

// The dust's lifetimes (2 to 5 s), without slow-down or fade: the dust system is made with it
// (scene_resources). Its respawns draw from the one random sequence of every particle (see
// scene/particle_system.h): another lifetime range moves the sequence for every particle
// emitted after the first dust expires, in every slot from there on.
extern const ParticleTuning dustTuning;

// One flag per slot that starts the dust; each goes true on its slot's first frame and stays.
struct DustStartFlags {
    bool procession = false;  // slot 2
    bool cannon = false;      // slot 4
};

extern DustStartFlags dustStartFlags;

// Emits the dust box into the system and warms it up, unless done is already set; sets done.
// Nothing for a null system (done is still set, so a later frame does not try again).
void startDustOnce(ParticleSystem* dust, bool& done);
