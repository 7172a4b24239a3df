#pragma once
// Reading and writing for a command line tool that never passes a failure
// off as success: inputs are regular files of bounded size, standard output
// is flushed and closed with its errors seen, and a save is not cut short
// by a signal that would leave its temporary file behind.

#include <csignal>
#include <cstddef>
#include <string>

namespace bbx::tool {

// Larger inputs are refused before they are read.
inline constexpr std::size_t kMostInputBytes = std::size_t{256} << 20;

// The whole file. EInOutError ("PATH: reason") for a path that is no regular
// file (a FIFO is not waited on), one of more than `most` bytes, or a failed
// read.
std::string ReadInputFile(const std::string& path, std::size_t most = kMostInputBytes);

// Flushes and closes standard output: the system's reason when anything
// written to it was lost, empty when all of it arrived.
std::string CloseStandardOutput();

// While it lives, SIGINT, SIGTERM and SIGHUP wait: a save completes or
// removes its temporary file first, and the signal then ends the program
// as it would have.
class TSignalsHeld {
public:
    TSignalsHeld();
    ~TSignalsHeld();
    TSignalsHeld(const TSignalsHeld&) = delete;
    TSignalsHeld& operator=(const TSignalsHeld&) = delete;

private:
    sigset_t Previous;
};

}  // namespace bbx::tool
