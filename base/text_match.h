// The two text matches the scene-file reader and the scene tree rely on.
#pragma once

// True when every character of pattern occurs in text in the same order, not necessarily next
// to each other (the first 1000 characters of text are looked at). An empty pattern matches any
// non-empty text.
bool matchesInOrder(const char* text, const char* pattern);

// True when pattern occurs as consecutive characters in the first 256 characters of text. A
// mismatch restarts the match at the next character, so "aab" does not contain "ab".
bool containsText(const char* text, const char* pattern);
