// The scene files of the data set, one function each. Sizes and heights follow the places the
// scenes draw them at: the terrain tile under (0, 20, 123 k), the cannon at (0, 9, 0), the worm
// rings of radius 6.5, the flames at (0, 0.8, -2.5) from the flying object.
#pragma once

#include <string>

// Each writes dataDir/<file>; false after a message on stderr.
bool writeSkyDome(const std::string& dataDir);         // bg.xsi
bool writeMountainRing(const std::string& dataDir);    // mountains.xsi
bool writeTerrainTile(const std::string& dataDir);     // maasto.xsi
bool writeFlyingObject(const std::string& dataDir);    // normimap.xsi
bool writeFlames(const std::string& dataDir);          // flame.xsi and flame2.xsi
bool writeLights(const std::string& dataDir);          // lights.xsi
bool writeBall(const std::string& dataDir);            // ball.xsi
bool writeWorm(const std::string& dataDir);            // worm.xsi and wormhead.xsi
bool writeCannon(const std::string& dataDir);          // tykki.xsi
bool writeShell(const std::string& dataDir);           // ammus.xsi
bool writePostProcessing(const std::string& dataDir);  // postproc.XSI
