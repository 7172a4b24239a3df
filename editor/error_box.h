#pragma once
// The application-wide error box: every command that fails ends here with the
// error's message, and the editor keeps running.

#include <exception>
#include <utility>

namespace editor {

void ShowErrorBox(const std::exception& error);

// Runs a command; an error escaping it is shown in the error box.
template <typename Command>
void RunGuarded(Command&& command) {
    try {
        std::forward<Command>(command)();
    } catch (const std::exception& error) {
        ShowErrorBox(error);
    }
}

}  // namespace editor
