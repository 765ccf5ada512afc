// The show's music: made by our own small synthesiser at 138 BPM and encoded as MP3.
#pragma once

// Writes the whole soundtrack to path (biisi.mp3). False after a message on failure.
bool writeSoundtrack(const char* path);
