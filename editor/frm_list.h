#pragma once
// The editor's document window: it owns the one open model collection and its
// file name, lists the models, edits the selected model's properties, shows a
// preview of it and carries out the file and model commands. It opens one
// editing window per model and closes them when their model goes away.

#include <QMdiSubWindow>
#include <QString>
#include <cstdint>
#include <memory>

#include "core/bbx_collection.h"
#include "core/render_canvas.h"
#include "editor/drag_rule.h"
#include "editor/editor_settings.h"

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
class TPaintBox;
class TfrmModel;

class TfrmList : public QMdiSubWindow {
    Q_OBJECT

public:
    // Reads the settings file at once; writes it back when destroyed.
    TfrmList(QMdiArea& area, QString settingsPath);
    ~TfrmList() override;

    // File commands. Save and SaveAs tell whether the file was written.
    void New();
    void Open();
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
    // command that asked may go on.
    bool AskSaveChanges(const QString& caption);

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
    void ReplaceCollection(std::unique_ptr<bbx::Tbbx_collection> replacement, const QString& path);
    void CloseModelWindows(const bbx::Tbbx_model* onlyOf);
    void MoveSelected(std::int32_t step);

    void ListViewSelectItem();
    void ModelFieldChanged(QLineEdit* edit);
    void ViewFieldChanged(QLineEdit* edit);
    void ResizePaintBox();
    void PaintBoxPaint(QPainter& painter, const QRect& exposed);
    void ChooseBackground();
    void ShowRefusedName(const QString& character);

    QMdiArea& Area;
    QString SettingsPath;
    std::unique_ptr<bbx::Tbbx_collection> FCollection;
    QString FFileName;
    std::int32_t NextID = 0;
    // Set through the fields from the settings file when the window is created.
    TEditorSettings View{0, 0, 0, 0, 0, 0, 0, 0};
    TDragState Drag;
    bool ShowingSelection = false;

    QSplitter* Splitter1 = nullptr;
    QTreeWidget* ListView = nullptr;
    QScrollArea* ScrollBox = nullptr;
    TPaintBox* PaintBox = nullptr;
    TCentredPanel* RightPanel = nullptr;
    QWidget* BlePanel = nullptr;
    QLineEdit* edtNazwa = nullptr;
    QLineEdit* edtID = nullptr;
    QLineEdit* edti1 = nullptr;
    QLineEdit* edti2 = nullptr;
    QLineEdit* edtkx = nullptr;
    QLineEdit* edtky = nullptr;
    QLineEdit* edtr = nullptr;
    QLineEdit* edtcx = nullptr;
    QLineEdit* edtcy = nullptr;
    QLineEdit* edtzoom = nullptr;
    QPushButton* btnBackground = nullptr;
};

}  // namespace editor
