// datagen OUTDIR: writes the show's default data set, OUTDIR/biisi.mp3 and OUTDIR/data/.
#include <cstdio>
#include <string>

#include "tools/datagen/data_set.h"
#include "tools/datagen/soundtrack.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: datagen OUTDIR\n");
        return 2;
    }
    const std::string outDir = argv[1];
    if (!writeDataSet(outDir)) {
        std::fprintf(stderr, "datagen: the data set in %s is incomplete\n", outDir.c_str());
        return 1;
    }
    if (!writeSoundtrack((outDir + "/biisi.mp3").c_str())) {
        std::fprintf(stderr, "datagen: the music in %s is missing\n", outDir.c_str());
        return 1;
    }
    return 0;
}
