#include "editor/error_box.h"

#include <QApplication>
#include <QMessageBox>

#include "editor/application_setup.h"
#include "editor/qt_convert.h"

namespace editor {

void ShowErrorBox(const std::exception& error) {
    // The programs' own messages are Windows-1250; others are plain ASCII,
    // which the conversion leaves alone.
    QMessageBox::critical(QApplication::activeWindow(), kProgramTitle, ToQt(error.what()));
}

}  // namespace editor
