#pragma once
// The few POSIX calls behind System that every backend on a POSIX system shares.
#include <cstdio>
#include <ctime>

namespace platform::posix {

// fsync of the stream's file descriptor.
bool syncFile(std::FILE* file);
// localtime_r: the local calendar time; all zero when the time cannot be converted.
std::tm localTime(std::time_t seconds);

}  // namespace platform::posix
