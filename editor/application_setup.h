#pragma once
// What the editor's application object needs before any window opens.

#include <QApplication>

namespace editor {

inline constexpr char kProgramTitle[] = "Bulbix Editor";

// Names the application and installs Qt's Polish translation whatever the
// user's locale, so that Qt's own buttons and dialogs speak Polish like the
// editor. Returns false when the translation file is missing.
bool SetUpApplication(QApplication& app);

}  // namespace editor
