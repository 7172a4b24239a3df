#pragma once
// What the error log records about the system. Texts are the system's own
// (UTF-8), not the programs' code page.

#include <chrono>
#include <string>

namespace gb {

// The name of the user running the program; empty when unknown.
std::string UserName();

// The computer's network name; empty when unknown.
std::string ComputerName();

// The local date and time in the user's locale (LC_TIME): the short date, a
// blank and the long time, the time left out when it is exactly midnight.
std::string LocalDateTimeText(std::chrono::system_clock::time_point when);

}  // namespace gb
