// Text matches shared by the scene-file reader and the scene tree.
#include "base/text_match.h"

#include <cstring>

bool matchesInOrder(const char* text, const char* pattern) {
    if (text == nullptr || pattern == nullptr) return false;
    const std::size_t length = std::strlen(pattern);
    std::size_t position = 0;
    for (int i = 0; i < 1000 && text[i] != '\0'; ++i) {
        if (position < length && text[i] == pattern[position]) ++position;
        if (position >= length) return true;
    }
    return false;
}

bool containsText(const char* text, const char* pattern) {
    if (text == nullptr || pattern == nullptr) return false;
    const std::size_t length = std::strlen(pattern);
    std::size_t count = 0;
    for (int i = 0; i < 256; ++i) {
        // The mismatching character is not tried again as the start of a new match.
        if (count < length && text[i] == pattern[count]) {
            if (++count == length) return true;
        } else {
            count = 0;
        }
        if (text[i] == '\0') return false;
    }
    return false;
}
