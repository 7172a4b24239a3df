#include <csignal>
#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QProcess>
#include <QStringList>

#include "editor/application_setup.h"
#include "editor/editor_settings.h"
#include "editor/error_box.h"
#include "editor/frm_list.h"
#include "editor/frm_main.h"

namespace {

const char* const kUsage =
    "usage: bbxedit [FILE.bbx...]\n"
    "       bbxedit --help | --version\n"
    "\n"
    "Opens the first model file that can be read; each further file opens in\n"
    "a bbxedit of its own.\n";

}  // namespace

int main(int argc, char* argv[]) {
    // A file-size limit then fails the save instead of killing the editor.
    std::signal(SIGXFSZ, SIG_IGN);
    // Answered before Qt starts, so they need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("bbxedit %s\n", BBX_VERSION);
            return 0;
        }
    }
    QApplication app(argc, argv);
    if (!editor::SetUpApplication(app))
        std::fprintf(stderr, "bbxedit: Qt's Polish translation (qtbase_pl.qm) is missing; Qt's own texts stay in English\n");
    editor::TfrmMain frmMain(editor::DefaultSettingsFilePath());
    frmMain.show();
    // One document per editor: the first file that loads is this one's, a
    // file that fails shows the error box, and the rest start editors of
    // their own, so that no file's models are mixed into another's.
    bool opened = false;
    for (const QString& file : QApplication::arguments().mid(1)) {
        if (opened) {
            QProcess::startDetached(QApplication::applicationFilePath(), {file});
            continue;
        }
        editor::RunGuarded([&] {
            frmMain.List()->OpenFile(file);
            opened = true;
        });
    }
    // Without files to open, the last one if the user asked for that.
    if (QApplication::arguments().size() == 1) editor::RunGuarded([&] { frmMain.List()->ReopenLastFile(); });
    return QApplication::exec();
}
