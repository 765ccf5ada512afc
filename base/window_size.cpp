// The window's size.
#include "base/window_size.h"

WindowSize windowSize;
