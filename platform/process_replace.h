// Running another program in this process's place: the authoring mode's restart on a changed data
// set, and the capture tool's run inside a private X server.
#pragma once

// This program again with args (args[0] its name, null-terminated). Returns only when it cannot,
// with errno set.
void replaceWithThisProgram(char* const* args);

// The program called args[0], found on PATH. Returns only when it cannot.
void replaceWithProgram(char* const* args);
