// Looking at the first bytes of a pipe without taking them: the readers that
// follow (text or sound) still get every byte from the first.
#pragma once

#include <cstddef>

// Copies up to n of the first bytes of pipe fd into out, waiting until n are
// there or the writer has closed, and leaves them in the pipe. Returns the
// bytes copied; 0 when fd is no pipe or holds nothing.
std::size_t peek_pipe(int fd, unsigned char* out, std::size_t n);
