// The keys the authoring mode reads, whatever the window system calls them.
#pragma once

#include <cstdint>

enum class ShowKey : std::uint8_t { Space, Left, Right, PageUp, PageDown, Reload };
