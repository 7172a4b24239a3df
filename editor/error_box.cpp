#include "editor/error_box.h"

#include <QApplication>
#include <QMessageBox>

#include "editor/application_setup.h"
#include "editor/error_text.h"

namespace editor {

void ShowErrorBox(const std::exception& error) {
    QMessageBox::critical(QApplication::activeWindow(), kProgramTitle, ErrorText(error));
}

}  // namespace editor
