// The data checker: start-up of the show through EGL on a quiet console, then the names the
// scenes look up. Shared by demo-check and by the show's own check of its data before a reload.
#pragma once

// Checks the data set of the current directory: one line per problem, then a summary naming it
// as label. Ends the process: status 0 when clean, 1 with problems, 2 when no OpenGL 2.0 context
// could be had through EGL (nothing was checked).
[[noreturn]] void runDataCheck(const char* programName, const char* label);
