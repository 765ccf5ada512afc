// Signatures: PNG's eight bytes, JPEG's start-of-image marker, RIFF/WAVE, an ID3 tag or an MPEG
// audio frame sync.
#include "base/file_kind.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/data_file.h"
#include "base/utf8_path.h"

FileKind fileKindOf(const char* path) {
    if (path == nullptr) return FileKind::Missing;
    std::error_code error;
    const auto status = std::filesystem::status(utf8Path(dataFilePath(path)), error);
    if (error || !std::filesystem::exists(status)) return FileKind::Missing;
    if (std::filesystem::is_directory(status)) return FileKind::Directory;
    std::FILE* file = openDataFile(path, "rb");
    if (file == nullptr) return FileKind::Unreadable;
    unsigned char head[12] = {};
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    if (got == 0) return FileKind::Empty;
    if (got >= 8 && std::memcmp(head, "\x89PNG\r\n\x1a\n", 8) == 0) return FileKind::Png;
    if (got >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return FileKind::Jpeg;
    if (got >= 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0) return FileKind::Wav;
    if (got >= 3 && std::memcmp(head, "ID3", 3) == 0) return FileKind::Mp3;
    if (got >= 2 && head[0] == 0xFF && (head[1] & 0xE0) == 0xE0) return FileKind::Mp3;
    return FileKind::Other;
}

const char* fileKindName(FileKind kind) {
    switch (kind) {
        case FileKind::Missing: return "nothing";
        case FileKind::Unreadable: return "a file that cannot be read";
        case FileKind::Directory: return "a directory";
        case FileKind::Empty: return "an empty file";
        case FileKind::Png: return "a PNG image";
        case FileKind::Jpeg: return "a JPEG image";
        case FileKind::Wav: return "a WAV sound";
        case FileKind::Mp3: return "MP3 sound";
        case FileKind::Other: break;
    }
    return "";
}
