#pragma once
// The editor's document window: it owns the one open model collection and its
// file name, lists the models, edits the selected model's properties, shows a
// preview of it and carries out the file and model commands. It opens one
// editing window per model and closes them when their model goes away.

#include <QMdiSubWindow>
#include <QString>
#include <QUndoStack>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>

#include "core/bbx_collection.h"
#include "core/render_canvas.h"
#include "editor/drag_rule.h"
#include "editor/editor_settings.h"
#include "editor/model_commands.h"

class QLineEdit;
class QMdiArea;
class QPainter;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTreeWidget;

namespace editor {

class TCentredPanel;
class TDragHandle;
class TNumberField;
class TPaintBox;
class TfrmModel;

class TfrmList : public QMdiSubWindow, public TCollectionHost {
    Q_OBJECT

public:
    // Reads the settings file at once; writes it back when destroyed.
    TfrmList(QMdiArea& area, QString settingsPath);
    ~TfrmList() override;

    // File commands. Save and SaveAs tell whether the file was written.
    void New();
    void Open();
    // The recent files, newest first; OpenRecent asks the save question first.
    const QStringList& RecentFiles() const { return Recent; }
    void OpenRecent(const QString& path);
    // Whether the latest recent file opens when the editor starts without a
    // file to open; kept in the settings file.
    bool ReopensLastFile() const { return ReopenLast; }
    void SetReopensLastFile(bool reopen);
    // At the start: opens the latest recent file if asked to; raises when it
    // cannot be read.
    void ReopenLastFile();
    // Opens the file without asking anything; raises when it cannot be read.
    void OpenFile(const QString& path);
    bool Save();
    bool SaveAs();
    void Import();

    // Model commands; those on the selected model do nothing without one.
    void AddModel();
    void CopyModel();
    void DeleteModel();
    void MoveUp();
    void MoveDown();
    void EditModel();
    // Whether the selected model can move by step rows (-1 up, 1 down).
    bool CanMove(std::int32_t step) const;

    // Asks whether to save, with Yes, No and Cancel; Yes saves. True when the
    // command that asked may go on. Without changes since the file was opened
    // or saved, nothing is asked.
    bool AskSaveChanges(const QString& caption);

    // The history of the open file: every change to the collection, from
    // any window, one step per finished edit.
    void Undo();
    void Redo();
    bool CanUndo() const { return History.canUndo(); }
    bool CanRedo() const { return History.canRedo(); }
    // Whether the collection differs from the file as opened or last saved.
    bool IsModified();

    bbx::Tbbx_collection& Models() override { return *FCollection; }
    void ModelLeaving(const bbx::Tbbx_model& model) override;
    void Record(std::unique_ptr<QUndoCommand> command) override;
    // Records the edits still in progress here and in the editing windows.
    void FinishEdits();

    TfrmModel* OpenModelWindow(bbx::Tbbx_model& model);
    void RefreshList();

    const bbx::Tbbx_collection& Collection() const { return *FCollection; }
    const QString& FileName() const { return FFileName; }
    bbx::Tbbx_model* SelectedModel() const;

    // The preview's view values (KX, KY, R, Szer, Wys, Zoom, background) and
    // the list width, as the settings file gets them.
    TEditorSettings CurrentSettings() const;

signals:
    void FileNameChanged(const QString& fileName);
    void ModifiedChanged(bool modified);
    // What Undo and Redo can do may have changed.
    void HistoryChanged();
    // The selected model, or its place in the list, may have changed.
    void SelectionChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateFields(QWidget* panel);
    void ApplySettings(const TEditorSettings& settings);

    // The file the open dialog chose, or empty when cancelled.
    QString ChooseFileToOpen();
    void SetFileName(const QString& path);
    // The file goes to the front of the recent files, which are written at once.
    void RememberFile(const QString& path);
    void ReplaceCollection(std::unique_ptr<bbx::Tbbx_collection> replacement, const QString& path);
    // The open editing windows, of one model or (onlyOf null) of all.
    QList<TfrmModel*> ModelWindows(const bbx::Tbbx_model* onlyOf) const;
    void CloseModelWindows(const bbx::Tbbx_model* onlyOf);
    // An editing window's view settings, kept per model of the named file.
    QString ModelViewKey(const bbx::Tbbx_model& model) const;
    void RememberView(const TfrmModel& frmModel);
    void MoveSelected(std::int32_t step);

    void ListViewSelectItem();
    void CollectionChanged();
    void ModelFieldChanged(QLineEdit* edit);
    void FinishModelEdit();
    void CancelModelEdit();
    QString StoredModelText(const QLineEdit* edit) const;
    void ViewFieldChanged(QLineEdit* edit);
    QString StoredViewText(const QLineEdit* edit) const;
    void ResizePaintBox();
    void PaintBoxPaint(QPainter& painter, const QRect& exposed);
    void ChooseBackground();
    void ReportSphereLimits();
    void ShowRefusedName(const QString& character);

    QMdiArea& Area;
    QString SettingsPath;
    std::unique_ptr<bbx::Tbbx_collection> FCollection;
    QString FFileName;
    QStringList Recent;
    bool ReopenLast = false;
    std::int32_t NextID = 0;
    // Set through the fields from the settings file when the window is created.
    TEditorSettings View{0, 0, 0, 0, 0, 0, 0, 0};
    TDragState Drag;
    bool ShowingSelection = false;
    QUndoStack History;
    // The selected model's values before the edit in progress in its fields.
    std::optional<TModelProps> EditStart;
    const bbx::Tbbx_model* EditedModel = nullptr;
    // The models told to be too large to draw, and still so.
    std::set<const bbx::Tbbx_model*> TooLarge;

    QSplitter* Splitter1 = nullptr;
    QTreeWidget* ListView = nullptr;
    QScrollArea* ScrollBox = nullptr;
    TPaintBox* PaintBox = nullptr;
    TCentredPanel* RightPanel = nullptr;
    QWidget* BlePanel = nullptr;
    QLineEdit* edtNazwa = nullptr;
    TNumberField* edtID = nullptr;
    TNumberField* edti1 = nullptr;
    TNumberField* edti2 = nullptr;
    TNumberField* edtkx = nullptr;
    TNumberField* edtky = nullptr;
    TNumberField* edtr = nullptr;
    TNumberField* edtcx = nullptr;
    TNumberField* edtcy = nullptr;
    TNumberField* edtzoom = nullptr;
    QPushButton* btnBackground = nullptr;
};

}  // namespace editor
