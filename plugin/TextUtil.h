#pragma once
// Bounded text copies for fixed-size name buffers.
#include <cstddef>

// Copies src into dst, which holds size bytes; the result is always terminated.
// A null src gives the empty string.
void CopyText(char* dst, const char* src, std::size_t size);
