#pragma once
// Makes the system calls that write a file in place fail on demand, in this
// test program only: its own definitions of them come before the C library's.
#include <cstddef>

namespace faults {

// Positional writes write `bytes` more, then fail with `error`: once, or
// (a disk that stays full) every one after.
void FailPositionalWritesAfter(std::size_t bytes, int error, bool once = true);
// Positional writes tried since the last Reset.
int PositionalWrites();
// Reserving room fails as on a file system that cannot.
extern bool NoReserving;
// Unnamed temporary files fail as on a file system without them.
extern bool NoUnnamedFiles;
void Reset();

} // namespace faults
