// Running another program in this process's place: the authoring mode's restart on a changed data
// set, and the capture tool's run inside a private X server.
#pragma once

// This program again with args (args[0] its name, null-terminated). Returns only when it cannot,
// with errno set. Where the system has no exec (Windows), the new program is a new process that
// this one waits for: it calls letGo once that runs, to give up what it holds (open files), and
// leaves its working directory, so that the new one may remove what this one used.
void replaceWithThisProgram(char* const* args, void (*letGo)());

// The program called args[0], found on PATH. Returns only when it cannot.
void replaceWithProgram(char* const* args);
