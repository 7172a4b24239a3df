#pragma once
// Both programs find every data file in the directory of their own executable.

#include <string>

namespace bbx {

// The running executable's directory, with a trailing '/'; "./" when the
// system cannot tell.
std::string ProgramDirectory();

// The running executable's file name, without its directory.
std::string ProgramFileName();

}  // namespace bbx
