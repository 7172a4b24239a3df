#include "editor/application_setup.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace editor {

bool SetUpApplication(QApplication& app) {
    // No display name: Qt would append it to every window title, and the
    // dialogs' captions are exactly the editor's own.
    QApplication::setApplicationName("bbxedit");
    auto* translator = new QTranslator(&app);
    if (!translator->load("qtbase_pl", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

}  // namespace editor
