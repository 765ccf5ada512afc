// The whole data set but the music: OUTDIR/data with every scene file and image the show reads.
#pragma once

#include <string>

// Creates outDir/data if needed and writes into it. False after a message on stderr.
bool writeDataSet(const std::string& outDir);

// Every image only, into dataDir.
bool writeImages(const std::string& dataDir);

// Every scene file only, into dataDir.
bool writeScenes(const std::string& dataDir);
