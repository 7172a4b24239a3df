#include "editor/frm_list.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <set>
#include <string>

#include "core/render_model.h"
#include "editor/centred_panel.h"
#include "editor/child_window.h"
#include "editor/drag_handle.h"
#include "editor/error_box.h"
#include "editor/error_text.h"
#include "editor/file_dialog.h"
#include "editor/first_size.h"
#include "editor/frm_model.h"
#include "editor/model_image.h"
#include "editor/name_validator.h"
#include "editor/number_field.h"
#include "editor/paint_box.h"
#include "editor/sized_widget.h"
#include "editor/qt_convert.h"

namespace editor {
namespace {

const QString kFileFilters = QStringLiteral("Bulbix (*.bbx);;Wszystkie pliki (*.*)");
const QString kCannotOpen = QString::fromUtf8("Nie można otworzyć pliku");
const QString kCannotSave = QString::fromUtf8("Nie można zapisać pliku");

// Previews up to this many pixels are drawn whole at every paint; larger ones
// only in the part being repainted.
constexpr std::int64_t kWholePreviewPixels = 4096 * 4096;

std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

int WidgetExtent(std::int64_t pixels) { return static_cast<int>(std::min<std::int64_t>(pixels, QWIDGETSIZE_MAX)); }

// The label, field and (for the view values) handle of one row of the
// properties panel. The rule also gives a number field's step; a deferred
// field, whose value may resize the preview a great deal, takes effect when
// its edit is finished rather than at every key.
struct TFieldRow {
    const char* Label;
    const char* Edit;
    const char* Handle;
    TDragRule Rule;
    bool Deferred;
};

const TFieldRow kFieldRows[] = {
    {"Nazwa", "edtNazwa", nullptr, {}, false},
    {"ID", "edtID", nullptr, {true, 1, std::nullopt, std::nullopt}, false},
    {"i1", "edti1", nullptr, {}, false},
    {"i2", "edti2", nullptr, {}, false},
    {"KX", "edtkx", "pnlkx", {false, 100, std::nullopt, std::nullopt}, false},
    {"KY", "edtky", "pnlky", {false, 100, std::nullopt, std::nullopt}, false},
    {"R", "edtr", "pnlr", {false, 1, 0.0, std::nullopt}, false},
    {"Szer", "edtcx", "pnlcx", {true, 3, 0.0, std::nullopt}, true},
    {"Wys", "edtcy", "pnlcy", {true, 3, 0.0, std::nullopt}, true},
    {"Zoom", "edtzoom", "pnlzoom", {true, 10, 0.0, std::nullopt}, true},
};

// Where each row keeps the model it shows.
constexpr int kModelRole = Qt::UserRole;

constexpr int kRowHeight = 28;
constexpr int kFirstRow = 6;

}  // namespace

TfrmList::TfrmList(QMdiArea& area, QString settingsPath)
    : Area(area), SettingsPath(std::move(settingsPath)), FCollection(std::make_unique<bbx::Tbbx_collection>()) {
    setWindowTitle("Lista modeli[*]");
    CreateControls();
    MakeUnclosable(*this);
    ApplySettings(ReadSettings(SettingsPath));
    Recent = ReadRecentFiles(SettingsPath);
    ReopenLast = ReadReopenLast(SettingsPath);
    connect(&History, &QUndoStack::indexChanged, this, &TfrmList::CollectionChanged);
    connect(&History, &QUndoStack::cleanChanged, this, [this](bool clean) {
        setWindowModified(!clean);
        emit ModifiedChanged(!clean);
    });
    RefreshList();
}

TfrmList::~TfrmList() {
    ReleaseFocus(*this);
    // The editing windows refer to models of this collection: they go first.
    for (QMdiSubWindow* window : Area.subWindowList()) {
        if (auto* frmModel = qobject_cast<TfrmModel*>(window)) {
            if (!frmModel->isHidden()) RememberView(*frmModel);
            delete frmModel;
        }
    }
    WriteSettings(SettingsPath, CurrentSettings());
    // The history clears itself when destroyed, after members it would report to.
    disconnect(&History, nullptr, this, nullptr);
}

void TfrmList::CreateControls() {
    // Narrower than the list, the preview and the properties panel, or lower
    // than the panel, and the window would cut them off.
    auto* client = new TSizedWidget(QSize(597, 404), QSize(150 + 4 + 2 * 85, 313));
    auto* layout = new QHBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Splitter1 = new QSplitter(Qt::Horizontal, client);
    Splitter1->setObjectName("Splitter1");
    Splitter1->setHandleWidth(4);
    Splitter1->setChildrenCollapsible(false);

    ListView = new QTreeWidget(Splitter1);
    ListView->setObjectName("ListView");
    ListView->setColumnCount(3);
    ListView->setHeaderLabels({"Lp", "Nazwa", "ID"});
    ListView->setRootIsDecorated(false);
    ListView->setUniformRowHeights(true);
    ListView->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView->setAllColumnsShowFocus(true);
    QHeaderView* header = ListView->header();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Fixed);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    header->setSectionResizeMode(2, QHeaderView::Fixed);
    header->resizeSection(0, 30);
    header->resizeSection(2, 40);
    ListView->headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    ListView->installEventFilter(this);
    connect(ListView, &QTreeWidget::itemSelectionChanged, this, &TfrmList::ListViewSelectItem);
    connect(ListView, &QTreeWidget::itemDoubleClicked, this, [this] { RunGuarded([this] { EditModel(); }); });

    ScrollBox = new QScrollArea(Splitter1);
    ScrollBox->setObjectName("ScrollBox");
    ScrollBox->setWidgetResizable(false);
    ScrollBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PaintBox = new TPaintBox(nullptr);
    PaintBox->setObjectName("PaintBox");
    PaintBox->OnPaint = [this](QPainter& painter, const QRect& exposed) { PaintBoxPaint(painter, exposed); };
    ScrollBox->setWidget(PaintBox);

    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] { View.ListWidth = ListView->width(); });
    layout->addWidget(Splitter1, 1);

    RightPanel = new TCentredPanel(client, QSize(150, 313));
    RightPanel->setObjectName("RightPanel");
    BlePanel = RightPanel->Inner();
    BlePanel->setObjectName("BlePanel");
    layout->addWidget(RightPanel);
    CreateFields(BlePanel);

    setWidget(client);
    setMinimumSize(minimumSizeHint());
    resize(sizeHint());
}

void TfrmList::CreateFields(QWidget* panel) {
    std::size_t row = 0;
    for (const TFieldRow& field : kFieldRows) {
        const int y = kFirstRow + static_cast<int>(row++) * kRowHeight;
        auto* label = new QLabel(field.Label, panel);
        label->setGeometry(6, y, 40, 21);
        const bool isName = &field == &kFieldRows[0];
        auto* number = isName ? nullptr : new TNumberField(panel, field.Rule);
        QLineEdit* edit = number ? number : new QLineEdit(panel);
        edit->setObjectName(field.Edit);
        edit->setGeometry(48, y, field.Handle ? 74 : 97, 21);
        label->setBuddy(edit);
        const auto apply = [this, edit, model = !field.Handle] {
            model ? ModelFieldChanged(edit) : ViewFieldChanged(edit);
        };
        if (!field.Deferred) connect(edit, &QLineEdit::textChanged, this, apply);
        if (number) {
            number->StoredText = [this, edit, model = !field.Handle] {
                return model ? StoredModelText(edit) : StoredViewText(edit);
            };
            if (field.Deferred) connect(number, &TNumberField::Finished, this, apply);
            if (!field.Handle) connect(number, &TNumberField::Cancelled, this, &TfrmList::CancelModelEdit);
        }
        if (field.Handle) {
            auto* handle = new TDragHandle(panel, 21);
            handle->setObjectName(field.Handle);
            handle->move(124, y);
            ConnectFieldHandle(*handle, *edit, field.Rule, Drag, field.Deferred ? std::function<void()>(apply) : nullptr);
        } else if (number) {
            connect(number, &TNumberField::Finished, this, &TfrmList::FinishModelEdit);
        } else {
            connect(edit, &QLineEdit::editingFinished, this, &TfrmList::FinishModelEdit);
        }
    }
    edtNazwa = panel->findChild<QLineEdit*>("edtNazwa");
    edtID = panel->findChild<TNumberField*>("edtID");
    edti1 = panel->findChild<TNumberField*>("edti1");
    edti2 = panel->findChild<TNumberField*>("edti2");
    edtkx = panel->findChild<TNumberField*>("edtkx");
    edtky = panel->findChild<TNumberField*>("edtky");
    edtr = panel->findChild<TNumberField*>("edtr");
    edtcx = panel->findChild<TNumberField*>("edtcx");
    edtcy = panel->findChild<TNumberField*>("edtcy");
    edtzoom = panel->findChild<TNumberField*>("edtzoom");

    // Names are stored as Windows-1250 bytes: what that code page lacks is refused.
    edtNazwa->setMaxLength(std::numeric_limits<int>::max());
    auto* validator = new TNameValidator(edtNazwa);
    validator->OnRefused = [this](const QString& character) {
        // Told once the key press is over, not from inside the field's input handling.
        QTimer::singleShot(0, this, [this, character] { ShowRefusedName(character); });
    };
    edtNazwa->setValidator(validator);

    btnBackground = new QPushButton(QString::fromUtf8("Tło..."), panel);
    btnBackground->setObjectName("btnBackground");
    btnBackground->setGeometry(48, kFirstRow + static_cast<int>(row) * kRowHeight, 97, 25);
    connect(btnBackground, &QPushButton::clicked, this, [this] { RunGuarded([this] { ChooseBackground(); }); });
}

void TfrmList::ApplySettings(const TEditorSettings& settings) {
    View.ListWidth = settings.ListWidth;
    Splitter1->setSizes({settings.ListWidth, std::max(1, 597 - 150 - settings.ListWidth)});
    // The view values go in as text, so that they take effect through the fields.
    edtkx->setText(RealText(settings.KX));
    edtky->setText(RealText(settings.KY));
    edtr->setText(RealText(settings.R));
    edtcx->setText(QString::number(settings.Szer));
    edtcy->setText(QString::number(settings.Wys));
    edtzoom->setText(QString::number(settings.Zoom));
    for (TNumberField* deferred : {edtcx, edtcy, edtzoom}) ViewFieldChanged(deferred);
    View.Background = settings.Background;
}

TEditorSettings TfrmList::CurrentSettings() const {
    TEditorSettings s = View;
    if (ListView->isVisible()) s.ListWidth = ListView->width();
    return s;
}

void TfrmList::closeEvent(QCloseEvent* event) {
    // The document window lives as long as the program.
    event->ignore();
}

bool TfrmList::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close)
        if (const auto* frmModel = qobject_cast<TfrmModel*>(watched)) RememberView(*frmModel);
    if (watched == ListView && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            RunGuarded([this] { EditModel(); });
            return true;
        }
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

// --- File commands ---

bool TfrmList::AskSaveChanges(const QString& caption) {
    if (!IsModified()) return true;
    const QString name = FFileName.isEmpty() ? QString() : "\"" + QFileInfo(FFileName).fileName() + "\" ";
    QMessageBox box(QMessageBox::Question, caption, QString::fromUtf8("Czy zapisać zmiany w pliku ") + name + "?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Save();
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

void TfrmList::New() {
    if (!AskSaveChanges("Nowy")) return;
    CloseModelWindows(nullptr);
    ReplaceCollection(std::make_unique<bbx::Tbbx_collection>(), QString());
}

bool TfrmList::IsModified() {
    FinishEdits();
    return !History.isClean();
}

void TfrmList::Undo() {
    FinishEdits();
    History.undo();
}

void TfrmList::Redo() {
    FinishEdits();
    History.redo();
}

void TfrmList::Record(std::unique_ptr<QUndoCommand> command) {
    FinishEdits();
    History.push(command.release());  // the history owns its commands
}

void TfrmList::FinishEdits() {
    FinishModelEdit();
    for (TfrmModel* frmModel : ModelWindows(nullptr)) frmModel->FinishEdit();
}

void TfrmList::ModelLeaving(const bbx::Tbbx_model& model) {
    if (EditedModel == &model) EditStart.reset();
    CloseModelWindows(&model);
}

void TfrmList::CollectionChanged() {
    RefreshList();
    for (TfrmModel* frmModel : ModelWindows(nullptr)) frmModel->ModelChanged();
    emit HistoryChanged();
}

void TfrmList::Open() {
    if (!AskSaveChanges(QString::fromUtf8("Otwórz"))) return;
    const QString path = ChooseFileToOpen();
    if (!path.isEmpty()) OpenFile(path);
}

void TfrmList::OpenFile(const QString& path) {
    // Read into a collection of its own first: a file that fails to load
    // leaves the open models, their windows and the file name as they were.
    auto loaded = std::make_unique<bbx::Tbbx_collection>();
    OnFile(kCannotOpen, path, [&] { loaded->LoadFromFile(PathBytes(path)); });
    CloseModelWindows(nullptr);
    ReplaceCollection(std::move(loaded), path);
}

bool TfrmList::Save() {
    if (FFileName.isEmpty()) return SaveAs();
    FinishEdits();
    OnFile(kCannotSave, FFileName, [&] { FCollection->SaveToFile(PathBytes(FFileName)); });
    History.setClean();
    return true;
}

bool TfrmList::SaveAs() {
    QFileDialog dialog(this, "Zapisz jako");
    PrepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(kFileFilters.split(";;"));
    dialog.setDefaultSuffix("bbx");
    if (!FFileName.isEmpty()) dialog.selectFile(FFileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    const QString path = dialog.selectedFiles().constFirst();
    FinishEdits();
    OnFile(kCannotSave, path, [&] { FCollection->SaveToFile(PathBytes(path)); });
    History.setClean();
    SetFileName(path);
    return true;
}

void TfrmList::Import() {
    const QString path = ChooseFileToOpen();
    if (path.isEmpty()) return;
    bbx::Tbbx_collection imported;
    OnFile(kCannotOpen, path, [&] { imported.LoadFromFile(PathBytes(path)); });
    if (imported.Count() == 0) return;
    FinishEdits();
    History.beginMacro("Import");
    for (std::int32_t i = 0; i < imported.Count(); ++i)
        History.push(InsertModelCommand(*this, FCollection->Count(), SnapshotOf(*imported.Items(i))).release());
    History.endMacro();
}

QString TfrmList::ChooseFileToOpen() {
    QFileDialog dialog(this, QString::fromUtf8("Otwórz"));
    PrepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(kFileFilters.split(";;"));
    dialog.setDefaultSuffix("bbx");
    if (!FFileName.isEmpty()) dialog.setDirectory(QFileInfo(FFileName).absolutePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void TfrmList::SetFileName(const QString& path) {
    FFileName = path;
    if (!path.isEmpty()) RememberFile(path);
    emit FileNameChanged(FFileName);
}

void TfrmList::RememberFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    Recent.removeAll(absolute);
    Recent.prepend(absolute);
    while (Recent.size() > kRecentFiles) Recent.removeLast();
    WriteRecentFiles(SettingsPath, Recent);
}

void TfrmList::OpenRecent(const QString& path) {
    if (AskSaveChanges(QString::fromUtf8("Otwórz"))) OpenFile(path);
}

void TfrmList::SetReopensLastFile(bool reopen) {
    ReopenLast = reopen;
    WriteReopenLast(SettingsPath, reopen);
}

void TfrmList::ReopenLastFile() {
    if (ReopenLast && !Recent.isEmpty()) OpenFile(Recent.constFirst());
}

void TfrmList::ReplaceCollection(std::unique_ptr<bbx::Tbbx_collection> replacement, const QString& path) {
    EditStart.reset();
    History.clear();
    FCollection = std::move(replacement);
    SetFileName(path);
    RefreshList();
    emit HistoryChanged();
}

QList<TfrmModel*> TfrmList::ModelWindows(const bbx::Tbbx_model* onlyOf) const {
    // A closed window stays a child until its deletion comes round.
    QList<TfrmModel*> windows;
    for (QMdiSubWindow* window : Area.subWindowList()) {
        auto* frmModel = qobject_cast<TfrmModel*>(window);
        if (frmModel && !frmModel->isHidden() && (!onlyOf || &frmModel->Model() == onlyOf)) windows << frmModel;
    }
    return windows;
}

void TfrmList::CloseModelWindows(const bbx::Tbbx_model* onlyOf) {
    for (TfrmModel* frmModel : ModelWindows(onlyOf)) frmModel->close();
}

QString TfrmList::ModelViewKey(const bbx::Tbbx_model& model) const {
    return QString("%1 %2").arg(model.ID).arg(ToQt(model.Name));
}

void TfrmList::RememberView(const TfrmModel& frmModel) {
    if (FFileName.isEmpty() || FCollection->IndexOf(&frmModel.Model()) < 0) return;
    WriteModelView(SettingsPath, QFileInfo(FFileName).absoluteFilePath(), ModelViewKey(frmModel.Model()), frmModel.View());
}

// --- Model commands ---

bbx::Tbbx_model* TfrmList::SelectedModel() const {
    const QList<QTreeWidgetItem*> selected = ListView->selectedItems();
    if (selected.isEmpty()) return nullptr;
    auto* model = static_cast<bbx::Tbbx_model*>(selected.constFirst()->data(0, kModelRole).value<void*>());
    // A row only ever refers to a model of the current collection.
    return FCollection->IndexOf(model) >= 0 ? model : nullptr;
}

void TfrmList::AddModel() {
    TModelSnapshot model;
    model.Props.Name = "Model " + std::to_string(NextID);
    model.Props.ID = NextID;
    // Undoing the addition does not give the number back: names stay unique.
    ++NextID;
    Record(InsertModelCommand(*this, FCollection->Count(), std::move(model)));
}

void TfrmList::CopyModel() {
    const bbx::Tbbx_model* selected = SelectedModel();
    if (!selected) return;
    FinishEdits();
    TModelSnapshot copy = SnapshotOf(*selected);
    copy.Props.Name += " kopia";
    Record(InsertModelCommand(*this, FCollection->Count(), std::move(copy)));
}

void TfrmList::DeleteModel() {
    const bbx::Tbbx_model* selected = SelectedModel();
    if (!selected) return;
    const QString shownName = ListView->selectedItems().constFirst()->text(1);
    const auto answer = QMessageBox::question(this, QString::fromUtf8("Usuń model"),
                                              QString::fromUtf8("Czy na pewno usunąć model \"") + shownName + "\" ?",
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) return;
    Record(RemoveModelCommand(*this, FCollection->IndexOf(selected)));
}

void TfrmList::MoveUp() { MoveSelected(-1); }

void TfrmList::MoveDown() { MoveSelected(1); }

bool TfrmList::CanMove(std::int32_t step) const {
    const std::int32_t i = FCollection->IndexOf(SelectedModel());
    return i >= 0 && i + step >= 0 && i + step < FCollection->Count();
}

void TfrmList::MoveSelected(std::int32_t step) {
    if (!CanMove(step)) return;
    const std::int32_t i = FCollection->IndexOf(SelectedModel());
    Record(ExchangeModelsCommand(*this, i, i + step));
}

void TfrmList::EditModel() {
    if (bbx::Tbbx_model* selected = SelectedModel()) OpenModelWindow(*selected);
}

TfrmModel* TfrmList::OpenModelWindow(bbx::Tbbx_model& model) {
    if (const QList<TfrmModel*> open = ModelWindows(&model); !open.isEmpty()) {
        Area.setActiveSubWindow(open.constFirst());
        open.constFirst()->setFocus();
        return open.constFirst();
    }
    auto* frmModel = new TfrmModel(model, *this);
    if (!FFileName.isEmpty())
        if (const auto view = ReadModelView(SettingsPath, QFileInfo(FFileName).absoluteFilePath(), ModelViewKey(model)))
            frmModel->SetView(*view);
    // Its view settings are kept when it closes.
    frmModel->installEventFilter(this);
    Area.addSubWindow(frmModel);
    // Only within the area does the window know its title bar and frame,
    // which its smallest size must leave room for.
    frmModel->setMinimumSize(frmModel->minimumSizeHint());
    // As large as it wants to be, as far as the area lets it.
    frmModel->resize(FirstSize(frmModel->sizeHint(), frmModel->minimumSize(), Area.viewport()->size(),
                               Area.style()->pixelMetric(QStyle::PM_ScrollBarExtent)));
    frmModel->setWindowTitle(LiteralTitle(ToQt(model.Name)));
    frmModel->show();
    // Where Qt placed it, moved back so far as it sticks out of the area.
    const QSize room = Area.viewport()->size() - frmModel->size();
    frmModel->move(std::max(0, std::min(frmModel->x(), room.width())), std::max(0, std::min(frmModel->y(), room.height())));
    return frmModel;
}

void TfrmList::RefreshList() {
    const bbx::Tbbx_model* remembered = SelectedModel();
    {
        const QSignalBlocker quiet(ListView);
        ListView->setUpdatesEnabled(false);
        ListView->clear();
        QList<QTreeWidgetItem*> rows;
        rows.reserve(FCollection->Count());
        for (std::int32_t i = 0; i < FCollection->Count(); ++i) {
            const bbx::Tbbx_model& model = *FCollection->Items(i);
            auto* row = new QTreeWidgetItem({QString::number(i), ToQt(model.Name), QString::number(model.ID)});
            row->setData(0, kModelRole, QVariant::fromValue(static_cast<void*>(FCollection->Items(i))));
            row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
            rows.append(row);
        }
        ListView->addTopLevelItems(rows);
        const std::int32_t index = FCollection->IndexOf(remembered);
        if (index >= 0) {
            QTreeWidgetItem* row = ListView->topLevelItem(index);
            ListView->setCurrentItem(row);
            row->setSelected(true);
        }
        ListView->setUpdatesEnabled(true);
    }
    ListViewSelectItem();
}

// --- Properties panel and preview ---

void TfrmList::ListViewSelectItem() {
    const bbx::Tbbx_model* model = SelectedModel();
    if (EditedModel != model) FinishModelEdit();
    ShowingSelection = true;
    for (QLineEdit* edit : std::initializer_list<QLineEdit*>{edtNazwa, edtID, edti1, edti2}) edit->setEnabled(model != nullptr);
    edtNazwa->setText(model ? ToQt(model->Name) : "0");
    edtID->setText(model ? QString::number(model->ID) : "0");
    edti1->setText(model ? RealText(model->I1) : "0");
    edti2->setText(model ? RealText(model->I2) : "0");
    ShowingSelection = false;
    ReportSphereLimits();
    PaintBox->update();
    emit SelectionChanged();
}

void TfrmList::ModelFieldChanged(QLineEdit* edit) {
    bbx::Tbbx_model* model = SelectedModel();
    if (ShowingSelection || !model) return;
    QTreeWidgetItem* row = ListView->selectedItems().constFirst();
    const QString text = edit->text();
    if (!EditStart || EditedModel != model) {
        FinishModelEdit();
        EditStart = PropsOf(*model);
        EditedModel = model;
    }
    if (edit == edtNazwa) {
        const auto name = ToCp1250(text);
        if (!name) return;
        model->Name = *name;
        for (TfrmModel* frmModel : ModelWindows(model)) frmModel->setWindowTitle(LiteralTitle(text));
        row->setText(1, text);
    } else if (edit == edtID) {
        const auto id = ParseIntText(text);
        if (!id) return;
        model->ID = *id;
        row->setText(2, text);
    } else if (const auto value = ParseRealText(text)) {
        (edit == edti1 ? model->I1 : model->I2) = *value;
    }
}

void TfrmList::FinishModelEdit() {
    if (!EditStart) return;
    const TModelProps before = *std::exchange(EditStart, std::nullopt);
    const std::int32_t index = FCollection->IndexOf(EditedModel);
    if (index < 0) return;
    const TModelProps after = PropsOf(*EditedModel);
    if (!SameProps(before, after)) History.push(SetPropsCommand(*this, index, before, after, true).release());
}

void TfrmList::CancelModelEdit() {
    if (!EditStart) return;
    const TModelProps before = *std::exchange(EditStart, std::nullopt);
    if (FCollection->IndexOf(EditedModel) < 0) return;
    // Only number fields cancel: the name shown in the list and the captions stays.
    bbx::Tbbx_model& model = *FCollection->Items(FCollection->IndexOf(EditedModel));
    model.ID = before.ID;
    model.I1 = before.I1;
    model.I2 = before.I2;
    if (QTreeWidgetItem* row = ListView->topLevelItem(FCollection->IndexOf(EditedModel)))
        row->setText(2, QString::number(model.ID));
}

QString TfrmList::StoredModelText(const QLineEdit* edit) const {
    const bbx::Tbbx_model* model = SelectedModel();
    if (!model) return "0";
    if (edit == edtID) return QString::number(model->ID);
    return RealText(edit == edti1 ? model->I1 : model->I2);
}

QString TfrmList::StoredViewText(const QLineEdit* edit) const {
    if (edit == edtkx) return RealText(View.KX);
    if (edit == edtky) return RealText(View.KY);
    if (edit == edtr) return RealText(View.R);
    return QString::number(edit == edtcx ? View.Szer : edit == edtcy ? View.Wys : View.Zoom);
}

void TfrmList::ViewFieldChanged(QLineEdit* edit) {
    const QString text = edit->text();
    if (edit == edtkx || edit == edtky || edit == edtr) {
        const auto value = ParseRealText(text);
        if (!value) return;
        if (edit == edtkx) View.KX = *value;
        if (edit == edtky) View.KY = *value;
        if (edit == edtr) View.R = std::max(0.0f, *value);
    } else {
        const auto value = ParseIntText(text);
        if (!value) return;
        const std::int32_t clamped = std::max(0, *value);
        if (edit == edtzoom) View.Zoom = clamped;
        if (edit == edtcx) View.Szer = clamped;
        if (edit == edtcy) View.Wys = clamped;
        ResizePaintBox();
    }
    PaintBox->update();
}

void TfrmList::ResizePaintBox() {
    PaintBox->resize(WidgetExtent(std::int64_t(View.Zoom) * View.Szer),
                     WidgetExtent(std::int64_t(View.Wys) * View.Zoom));
}

void TfrmList::PaintBoxPaint(QPainter& painter, const QRect& exposed) {
    if (View.Zoom <= 0 || View.Szer <= 0 || View.Wys <= 0) return;
    const QRect picture(0, 0, View.Szer, View.Wys);
    const bool whole = std::int64_t(View.Szer) * View.Wys <= kWholePreviewPixels &&
                       std::int64_t(View.Szer) * View.Zoom <= QWIDGETSIZE_MAX &&
                       std::int64_t(View.Wys) * View.Zoom <= QWIDGETSIZE_MAX;
    const QRect area = whole ? picture
                             : QRect(QPoint(exposed.left() / View.Zoom, exposed.top() / View.Zoom),
                                     QPoint(exposed.right() / View.Zoom, exposed.bottom() / View.Zoom))
                                   .intersected(picture);
    const QImage image =
        RenderModelImage(SelectedModel(), {View.Szer, View.Wys, View.KX, View.KY, View.R}, View.Background, area);
    // Magnified without smoothing, each picture pixel a Zoom × Zoom square.
    const double z = View.Zoom;
    painter.drawImage(QRectF(area.x() * z, area.y() * z, area.width() * z, area.height() * z), image);
}

void TfrmList::ReportSphereLimits() {
    // The models on show: the selected one and those being edited. Each is
    // told once when it goes beyond the limit (its pictures stay empty), and
    // again only after it has been small enough in between.
    std::set<const bbx::Tbbx_model*> shown;
    if (const bbx::Tbbx_model* selected = SelectedModel()) shown.insert(selected);
    for (const TfrmModel* frmModel : ModelWindows(nullptr)) shown.insert(&frmModel->Model());
    std::erase_if(TooLarge, [this](const bbx::Tbbx_model* model) { return FCollection->IndexOf(model) < 0; });
    for (const bbx::Tbbx_model* model : shown) {
        try {
            bbx::CheckSphereLimit(*model);
            TooLarge.erase(model);
        } catch (const bbx::ETooManySpheres& error) {
            if (TooLarge.insert(model).second)
                QTimer::singleShot(0, this, [text = SphereLimitText(error, *model)] { ShowErrorBox(EEditorError(text)); });
        }
    }
}

void TfrmList::ChooseBackground() {
    QColorDialog dialog(ToQColor(View.Background), this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return;
    View.Background = FromQColor(dialog.selectedColor());
    PaintBox->update();
}

void TfrmList::ShowRefusedName(const QString& character) {
    QMessageBox::warning(this, "Nazwa modelu", RefusedCharacterMessage(character));
}

}  // namespace editor
