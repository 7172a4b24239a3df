#pragma once
// Where the programs find their data and put their own files. Run from the
// build folder they keep everything beside the executable; installed, the
// data lies in the install tree's share/ folder and the user's files in the
// XDG folders of the user's home.

#include <string>
#include <string_view>

namespace bbx {

// The running executable's directory, with a trailing '/'; "./" when the
// system cannot tell.
std::string ProgramDirectory();

// The running executable's file name, without its directory.
std::string ProgramFileName();

// The data folder of the program installed from `programDirectory` (with its
// trailing '/'): the install tree's share/`name`/ beside the bin folder when
// it exists, else the program's own folder. Always with a trailing '/'.
std::string DataDirectory(const std::string& programDirectory, std::string_view name);
// The same for the running executable.
std::string DataDirectory(std::string_view name);

// The user's folders for the program `name`, with a trailing '/':
// $XDG_CONFIG_HOME/name/ (default ~/.config/name/) and $XDG_STATE_HOME/name/
// (default ~/.local/state/name/). Relative XDG values are ignored, as the
// base directory rules ask. Empty when there is no home to put them in.
std::string UserConfigDirectory(std::string_view name);
std::string UserStateDirectory(std::string_view name);

}  // namespace bbx
