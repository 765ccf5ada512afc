// A child process fed through a pipe to its standard input (the capture tool's ffmpeg), and the
// search of PATH that finds it. Messages name the child as its caller calls it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PipeProcess {
    std::intptr_t process = 0;  // the running child (its pid or handle); 0 when none
    std::intptr_t input = -1;   // the write end of its standard input
};

// The executable called name in a folder of PATH; empty when there is none.
std::string findOnPath(const char* name);

// Starts args[0] (a path) with args. Expects a broken pipe not to end this process
// (catchStopSignals), so that a child that stopped reading shows as a write error.
bool startPipeProcess(const std::vector<std::string>& args, const char* name, PipeProcess& child,
                      std::string& error);

// Writes every byte; false with a message when the child stopped reading or the write failed.
bool writePipeProcess(PipeProcess& child, const unsigned char* bytes, std::size_t size, const char* name,
                      std::string& error);

// Ends the child's input; it sees the end of its data.
void closePipeInput(PipeProcess& child);

// Waits for the child and describes how it ended; empty when it succeeded.
std::string waitPipeProcess(PipeProcess& child, const char* name);

// Asks the child to stop without finishing its work.
void stopPipeProcess(PipeProcess& child);
