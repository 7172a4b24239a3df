#include "error_box.h"

#include <QApplication>
#include <QMessageBox>

#include "application_setup.h"
#include "qt_convert.h"

namespace editor {

void ShowErrorBox(const std::exception& error) {
    // The programs' own messages are Windows-1250; others are plain ASCII,
    // which the conversion leaves alone.
    QMessageBox::critical(QApplication::activeWindow(), kProgramTitle, ToQt(error.what()));
}

}  // namespace editor
