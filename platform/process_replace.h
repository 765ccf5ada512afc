// Running another program in this process's place: the capture tool's run inside a private X
// server.
#pragma once

// The program called args[0], found on PATH. Returns only when it cannot.
void replaceWithProgram(char* const* args);
