// The file a name probably meant when it names none: the same file name in another case or in
// another folder of the run directory.
#pragma once

#include <string>

// For a file name as the show writes it ('\' or '/') that names no file: the path of an existing
// file whose name equals it but for case, the one in the same folder first, else the nearest in
// the run directory's tree (a few levels deep); "" when there is none. Written with '/'.
std::string nearFileMatch(const char* fileName);
