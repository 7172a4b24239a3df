#pragma once
// "Errors.log" beside the program, or in the user's state folder when the
// program's folder cannot be written to (installed): one entry per error
// that reached the game's error handler, for the player to send in. Written
// in UTF-8 with CR LF line ends; it only ever grows.

#include <exception>
#include <string>
#include <string_view>

#include "runtime/game_errors.h"

namespace gb {

// The game's folder name below the install tree's share/ and the user's XDG
// folders.
inline constexpr std::string_view kGameFolderName = "glimmerbay";

// What an entry says about the system, in its own text (UTF-8).
struct TErrorLogFacts {
    std::string UserName;
    std::string ComputerName;
    std::string ProgramFile;
    std::string Time;
};

// One entry: an empty line, then one labelled line each for the title, user,
// computer, program, time, class name, the code (input/output errors only)
// and the message. The title and the error's texts are in the programs' code
// page.
std::string ErrorLogEntry(std::string_view title, const TErrorInfo& error, const TErrorLogFacts& facts);

// Where the log of the game whose files are in `directory` (with its
// trailing '/') goes: "Errors.log" there while the folder can be written to;
// when it exists but cannot, in the user's state folder
// ($XDG_STATE_HOME/glimmerbay/, by default ~/.local/state/glimmerbay/).
std::string ErrorLogPath(const std::string& directory);

// Appends the entry for the error to the log at ErrorLogPath (directory),
// creating the file, and the state folder, when missing. Never raises and never
// blocks: when the log is not a regular file (a FIFO, a device, a folder),
// cannot be opened, or the entry would not fit under the file-size limit, the
// entry is lost; a failing disk may cut it.
void WriteErrorLog(const std::string& directory, std::string_view title, const TErrorInfo& error) noexcept;
// The same in the program's own directory.
void WriteErrorLog(std::string_view title, const std::exception& error) noexcept;
void WriteErrorLog(std::string_view title, const std::exception_ptr& error) noexcept;

}  // namespace gb
