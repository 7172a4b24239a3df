#include <csignal>
#include <cstdio>

#include <QApplication>

#include "editor/application_setup.h"
#include "editor/editor_settings.h"
#include "editor/frm_main.h"

int main(int argc, char* argv[]) {
    // A file-size limit then fails the save instead of killing the editor.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    if (!editor::SetUpApplication(app))
        std::fprintf(stderr, "bbxedit: Qt's Polish translation (qtbase_pl.qm) is missing; Qt's own texts stay in English\n");
    editor::TfrmMain frmMain(editor::DefaultSettingsFilePath());
    frmMain.show();
    return QApplication::exec();
}
