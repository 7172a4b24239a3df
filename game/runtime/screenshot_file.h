#pragma once
// Screenshots on disk: the folder they go in, as the desktop names the
// user's pictures folder, and new PNG files named by the local date and
// time that never replace a file already there.

#include <ctime>
#include <string>
#include <string_view>

namespace gb {

// The pictures folder with "GlimmerBay/" in it, with a trailing '/':
// XDG_PICTURES_DIR from the environment, else from user-dirs.dirs in
// $XDG_CONFIG_HOME (or ~/.config) as xdg-user-dirs writes it, else
// ~/Pictures. Relative values are ignored. Empty when there is no home.
std::string ScreenshotDirectory();

// Writes the PNG bytes to a new file in `directory` (created with its
// parents when missing) named "GlimmerBay YYYY-MM-DD HH-MM-SS.png" by the
// local time `when`, with " (2)", " (3)", ... before the extension while
// that name is taken. Returns the file name without the folder; raises
// bbx::EInOutError when the folder or the file cannot be made or written
// (a partly written file is removed).
std::string SaveScreenshot(const std::string& directory, std::string_view png, const std::tm& when);

}  // namespace gb
