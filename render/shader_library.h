// The shader library: the shared render targets and the built-in materials every scene uses.
#pragma once

// Creates the shared render targets (three 512x512, one of the window's size, five texture-only
// 512x512, so those hold texture registry indices 0 to 4), then the built-in materials.
void initShaderLibrary();
