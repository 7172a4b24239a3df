#include "editor/application_setup.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace editor {

bool SetUpApplication(QApplication& app) {
    // No display name: Qt would append it to every window title, and the
    // dialogs' captions are exactly the editor's own.
    QApplication::setApplicationName("bbxedit");
    // Qt's texts that come from locale data rather than its translations
    // (the kinds of file in the file dialog) follow the default locale. The
    // editor's own numbers keep the user's decimal separator: they never go
    // through QLocale.
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    auto* translator = new QTranslator(&app);
    if (!translator->load("qtbase_pl", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

}  // namespace editor
