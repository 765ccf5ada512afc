// A GLSL driver log put on the lines of the scene file that holds the program: the file's sources
// begin on the line after their "GLSL_Program" or "GLSL_ProgramF" line.
#pragma once

#include <string>
#include <vector>

// The lines of one stage's log ("vertex shader", "fragment shader", "link"), each as
// "FILE:LINE: STAGE: message" when the message names a line of the program (Mesa's "0:12(3): ",
// other drivers' "0(12) : " or "ERROR: 0:12: "), else "FILE: STAGE: message". Program line n is
// line headerLine + n of the file. Repeated lines, empty ones and the lone "." some drivers put
// between messages are left out.
std::vector<std::string> placeGlslLog(const std::string& log, const char* stage, const std::string& file,
                                      int headerLine);
