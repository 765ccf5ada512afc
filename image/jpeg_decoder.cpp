// Placeholder until the decoder lands.
#include "image/jpeg_decoder.h"

bool decodeJpegFile(const char*, std::vector<unsigned char>&, int&, int&) { return false; }
