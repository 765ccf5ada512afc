// What the problem lines of a detailed console (the data check's, the authoring mode's) name
// beyond the show's own start-up messages: paths in one style, the scene file whose load asks for
// a missing file, and the near match that exists.
#pragma once

#include <string>

// A file name as problem lines print it: as written on the show's own console, with '/'
// throughout on a detailed one (the show writes some names with '\', some with '/').
std::string problemPath(const char* fileName);

// While one lives, the files opened are asked for by this scene file (and material, or null);
// the innermost one names them.
struct ScopedFileRequester {
    ScopedFileRequester(const char* sceneFile, const char* material);
    ~ScopedFileRequester();
    ScopedFileRequester(const ScopedFileRequester&) = delete;
    ScopedFileRequester& operator=(const ScopedFileRequester&) = delete;

    const ScopedFileRequester* outer;
    const char* sceneFile;
    const char* material;
};

// "File NAME not found!" as a problem; on a detailed console followed by who asked for it and
// the near match that exists.
void reportMissingFile(const char* fileName);
