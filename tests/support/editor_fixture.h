#pragma once
// A running editor for one test: the main window (with its list window) in a
// temporary folder that also holds its settings file and the test's files.

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <memory>
#include <string>
#include <vector>

#include "core/bbx_collection.h"
#include "editor/frm_list.h"
#include "editor/frm_main.h"
#include "editor/frm_model.h"

class TEditorFixture {
public:
    TEditorFixture();
    ~TEditorFixture();

    // Starts (again) the editor, shown and active; its settings are read from
    // the folder's "bbxedit.ini".
    void Start();
    // Makes the main window the active one again (after dialogs), so that its
    // shortcuts work.
    void Activate() const;
    // Ends it as the program's end would, so the settings file is written.
    void Stop();

    editor::TfrmMain& Main() const { return *MainWindow; }
    editor::TfrmList& List() const { return *MainWindow->List(); }
    QTreeWidget& ListView() const;
    QString SettingsPath() const { return Dir.filePath("bbxedit.ini"); }
    QString PathOf(const QString& name) const { return Dir.filePath(name); }

    // Selects the row as a click on it would.
    void ClickRow(int row) const;
    // The current child window as a model editing window, or null.
    editor::TfrmModel* ActiveModelWindow() const { return MainWindow->ActiveModelWindow(); }

private:
    QTemporaryDir Dir;
    std::unique_ptr<editor::TfrmMain> MainWindow;
};

// A collection of models named after the names given, each with its index as
// ID and one sphere per model of radius 10 + index.
bbx::Tbbx_collection MakeCollection(const std::vector<std::string>& names);
// Types the text into the widget one key press per character, any character
// (QTest's own key clicks take Latin-1 only).
void TypeText(QWidget* widget, const QString& text);
// Replaces the field's text by typing, as a user selecting it all would.
void Type(QLineEdit* edit, const QString& text);
// Types the text and presses Enter, which finishes the edit.
void TypeAndEnter(QLineEdit* edit, const QString& text);
std::string ReadBytes(const QString& path);
void WriteBytes(const QString& path, const std::string& bytes);
std::vector<std::string> ModelNames(const bbx::Tbbx_collection& collection);
