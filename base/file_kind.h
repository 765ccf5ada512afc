// What a file is, by its first bytes rather than its name, for messages that name it: a PNG or
// JPEG image, a WAV or MP3 sound, a directory.
#pragma once

enum class FileKind { Missing, Unreadable, Directory, Empty, Png, Jpeg, Wav, Mp3, Other };

FileKind fileKindOf(const char* path);

// "a PNG image", "a directory", ...; "" for Other.
const char* fileKindName(FileKind kind);
