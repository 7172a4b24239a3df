#include "editor/frm_model.h"

#include <QClipboard>
#include <QColorDialog>
#include <QEvent>
#include <QHBoxLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <utility>

#include "core/real_format.h"
#include "editor/centred_panel.h"
#include "editor/child_window.h"
#include "editor/drag_handle.h"
#include "editor/element_clipboard.h"
#include "editor/element_list.h"
#include "editor/error_box.h"
#include "editor/error_text.h"
#include "editor/model_image.h"
#include "editor/number_field.h"
#include "editor/paint_box.h"
#include "editor/sphere_series.h"
#include "editor/sized_widget.h"
#include "editor/view_navigation.h"
#include "editor/qt_convert.h"

namespace editor {
namespace {

enum TField : std::size_t { X1, Y1, Z1, R1, X2, Y2, Z2, R2, ColorR, ColorG, ColorB, C, FieldCount };

struct TElementField {
    const char* Label;
    const char* Edit;
    const char* Handle;
    TDragRule Rule;
};

constexpr TDragRule kPosition{false, 2, std::nullopt, std::nullopt};
constexpr TDragRule kRadius{false, 2, 0.0, std::nullopt};
constexpr TDragRule kColorByte{true, 2, 0.0, 255.0};

const std::array<TElementField, FieldCount> kFields = {{
    {"X1", "edtx1", "pnlx1", kPosition},
    {"Y1", "edty1", "pnly1", kPosition},
    {"Z1", "edtz1", "pnlz1", kPosition},
    {"R1", "edtr1", "pnlr1", kRadius},
    {"X2", "edtx2", "pnlx2", kPosition},
    {"Y2", "edty2", "pnly2", kPosition},
    {"Z2", "edtz2", "pnlz2", kPosition},
    {"R2", "edtr2", "pnlr2", kRadius},
    {"R", "edtcr", "pnlcr", kColorByte},
    {"G", "edtcg", "pnlcg", kColorByte},
    {"B", "edtcb", "pnlcb", kColorByte},
    {"C", "edtc", "pnlc", {true, 20, 0.0, std::nullopt}},
}};

float bbx::TSphereElement::* const kRealFields[8] = {
    &bbx::TSphereElement::X1, &bbx::TSphereElement::Y1, &bbx::TSphereElement::Z1, &bbx::TSphereElement::R1,
    &bbx::TSphereElement::X2, &bbx::TSphereElement::Y2, &bbx::TSphereElement::Z2, &bbx::TSphereElement::R2,
};

constexpr bbx::TColor kWhite = bbx::RGB(255, 255, 255);
constexpr int kFieldPanelWidth = 150;
constexpr int kRowHeight = 26;
constexpr int kFirstRow = 6;

}  // namespace

TfrmModel::TfrmModel(bbx::Tbbx_model& model, TCollectionHost& host) : FModel(model), Host(host) {
    setAttribute(Qt::WA_DeleteOnClose);
    CreateControls();
    LeaveCloseKeyToTheMenu(*this);
    SelectElement(-1);
}

void TfrmModel::CreateControls() {
    // The first size shows the guides at ±128 in all four views at zoom 1;
    // the smallest keeps the field panel whole beside views still usable.
    Client = new TSizedWidget(QSize(kFieldPanelWidth + 2 * 275, 560), QSize(kFieldPanelWidth + 2 * 100, 360));
    Client->setObjectName("Client");
    Client->setAutoFillBackground(true);
    QPalette palette = Client->palette();
    palette.setColor(QPalette::Window, Qt::white);
    Client->setPalette(palette);
    Client->setFocusPolicy(Qt::ClickFocus);
    Client->installEventFilter(this);

    int number = 0;
    for (TPaintBox** box : {&PaintBox1, &PaintBox2, &PaintBox3, &PaintBox4}) {
        *box = new TPaintBox(Client);
        (*box)->setObjectName(QString("PaintBox%1").arg(++number));
        (*box)->setFocusPolicy(Qt::ClickFocus);
        TPaintBox& self = **box;
        self.OnPaint = [this, &self](QPainter& painter, const QRect&) { PaintBoxPaint(self, painter); };
        self.OnMouseDown = [this, &self](QPointF point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
            Gestures.Press(ViewTarget(self), {point, button, modifiers});
        };
        self.OnMouseMove = [this, &self](QPointF point) {
            Gestures.Move(ViewTarget(self), point);
            UpdateStatus(&self, point.toPoint());
        };
        self.OnMouseUp = [this, &self](QPointF point, Qt::MouseButton button) {
            Gestures.Release(ViewTarget(self), {point, button, {}});
        };
        self.OnWheel = [this, &self](QPointF point, int turn) {
            Gestures.Wheel(ViewTarget(self), point, turn);
            UpdateStatus(&self, point.toPoint());
        };
        self.setMouseTracking(true);
    }
    number = 0;
    for (TDragHandle** handle : {&Panel1, &Panel2, &Panel3, &Panel4}) {
        *handle = new TDragHandle(Client, 16);
        (*handle)->setObjectName(QString("Panel%1").arg(++number));
    }
    ConnectViewHandle({&FCamera.PanX, &FCamera.PanY, 2, &FCamera.Zoom, 1.0L / 200, Panel1, false});
    ConnectViewHandle({&FCamera.PanZ, &FCamera.PanY, 2, &FCamera.Zoom, 1.0L / 200, Panel2, false});
    ConnectViewHandle({&FCamera.PanX, &FCamera.PanZ, 2, &FCamera.Zoom, 1.0L / 200, Panel3, false});
    ConnectViewHandle({&FKX, &FKY, 100, &FR, 2, Panel4, true});

    Panel = new TCentredPanel(Client, QSize(kFieldPanelWidth, 353));
    Panel->setObjectName("Panel");
    PanelInside = Panel->Inner();
    PanelInside->setObjectName("PanelInside");
    CreateFields(PanelInside);

    // The element list beside the views; the views keep their share of the
    // window, so the window's sizes grow by the list's width.
    auto* frame = new QWidget;
    frame->setObjectName("Frame");
    auto* layout = new QHBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Elements = new TElementList(FModel, frame);
    connect(Elements, &TElementList::ElementChosen, this, [this](std::int32_t element) {
        SelectElement(element);
        RedrawViews();
    });
    layout->addWidget(Elements);
    layout->addWidget(Client, 1);
    setWidget(frame);
    setMinimumSize(minimumSizeHint());
    resize(sizeHint());
}

void TfrmModel::CreateFields(QWidget* panel) {
    int row = 0;
    for (std::size_t i = 0; i < FieldCount; ++i) {
        if (i == C) {
            btnColor = new QPushButton("...", panel);
            btnColor->setObjectName("btnColor");
            btnColor->setToolTip(QString::fromUtf8("Zmień kolor..."));
            btnColor->setGeometry(48, kFirstRow + row++ * kRowHeight, 74, 23);
            connect(btnColor, &QPushButton::clicked, this, [this] { RunGuarded([this] { ChooseColor(); }); });
        }
        const TElementField& field = kFields[i];
        const int y = kFirstRow + row++ * kRowHeight;
        auto* label = new QLabel(field.Label, panel);
        label->setGeometry(10, y, 34, 21);
        auto* edit = new TNumberField(panel, field.Rule);
        edit->setObjectName(field.Edit);
        edit->setGeometry(48, y, 74, 21);
        edit->StoredText = [this, i] { return StoredText(i); };
        label->setBuddy(edit);
        auto* handle = new TDragHandle(panel, 21);
        handle->setObjectName(field.Handle);
        handle->move(124, y);
        // C can ask for a great many spheres: it takes effect once typed, not
        // at every digit on the way.
        const bool deferred = i == C;
        // The others take a dragged value through their text's change.
        ConnectFieldHandle(*handle, *edit, field.Rule, Drag,
                           deferred ? std::function<void()>([this, i] { FieldChanged(i); }) : nullptr,
                           [this] { FinishEdit(); });
        if (i >= ColorR && i <= ColorB)
            connect(edit, &QLineEdit::textChanged, this, &TfrmModel::ColorChanged);
        else if (!deferred)
            connect(edit, &QLineEdit::textChanged, this, [this, i] { FieldChanged(i); });
        connect(edit, &TNumberField::Cancelled, this, &TfrmModel::CancelEdit);
        connect(edit, &TNumberField::Finished, this, [this, i, deferred] {
            if (deferred) FieldChanged(i);
            FinishEdit();
        });
        Edits[i] = edit;
        Handles[i] = handle;
    }
}

void TfrmModel::ConnectViewHandle(const TViewHandleRule& rule) {
    rule.Handle->setToolTip(rule.Perspective
                                ? QString::fromUtf8("Przeciągnij, by obrócić widok; z Ctrl: skala; dwuklik: bez obrotu")
                                : QString::fromUtf8("Przeciągnij, by przesunąć widoki; z Ctrl: powiększenie; dwuklik: "
                                                    "bez przesunięcia"));
    rule.Handle->OnMouseDown = [this, rule](QPoint pos, Qt::KeyboardModifiers modifiers) {
        Drag.Dragging = true;
        Drag.ZoomDragging = modifiers.testFlag(Qt::ControlModifier);
        if (Drag.ZoomDragging) {
            Drag.Anchor0 = *rule.Scale;
        } else {
            Drag.Anchor0 = static_cast<float>(*rule.A - pos.x() / rule.Divisor);
            Drag.Anchor1 = static_cast<float>(*rule.B - pos.y() / rule.Divisor);
        }
    };
    rule.Handle->OnMouseMove = [this, rule](QPoint pos) {
        if (Drag.ZoomDragging) {
            // The pointer's place itself, not its way since the press, sets the scale.
            *rule.Scale = std::max(0.0f, static_cast<float>(Drag.Anchor0 + (pos.x() + pos.y()) * rule.ScaleFactor));
        } else if (Drag.Dragging) {
            *rule.A = static_cast<float>(Drag.Anchor0 + pos.x() / rule.Divisor);
            *rule.B = static_cast<float>(Drag.Anchor1 + pos.y() / rule.Divisor);
        } else {
            return;
        }
        ViewsChanged(rule.Perspective);
    };
    rule.Handle->OnMouseUp = [this] {
        Drag.Dragging = false;
        Drag.ZoomDragging = false;
    };
    rule.Handle->OnDblClick = [this, rule] {
        *rule.A = 0;
        *rule.B = 0;
        ViewsChanged(rule.Perspective);
    };
}

TfrmModel::~TfrmModel() { ReleaseFocus(*this); }

void TfrmModel::closeEvent(QCloseEvent* event) {
    FinishEdit();
    QMdiSubWindow::closeEvent(event);
}

bool TfrmModel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Client && event->type() == QEvent::Resize) LayoutViews();
    return QMdiSubWindow::eventFilter(watched, event);
}

void TfrmModel::LayoutViews() {
    const int w = Client->width() - kFieldPanelWidth;
    const int h = Client->height();
    const int hw = w / 2;
    const int hh = h / 2;
    const int vw = std::max(0, hw - 1);
    const int vh = std::max(0, hh - 1);
    PaintBox1->setGeometry(0, 0, vw, vh);
    PaintBox2->setGeometry(hw + 1, 0, vw, vh);
    PaintBox3->setGeometry(0, hh + 1, vw, vh);
    PaintBox4->setGeometry(hw + 1, hh + 1, vw, vh);
    Panel1->move(hw - 18, hh - 18);
    Panel2->move(hw + 2, hh - 18);
    Panel3->move(hw - 18, hh + 2);
    Panel4->move(hw + 2, hh + 2);
    for (TDragHandle* handle : {Panel1, Panel2, Panel3, Panel4}) handle->raise();
    Panel->setGeometry(std::max(0, w), 0, kFieldPanelWidth, h);
}

void TfrmModel::PaintBoxPaint(const TPaintBox& box, QPainter& painter) {
    const TViewTarget view = ViewTarget(box);
    // Drawn at the screen's own resolution: enlarged at a fractional scale
    // factor, a picture would show uneven pixel steps.
    const qreal scale = painter.device()->devicePixelRatioF();
    if (!view.Axes) {
        // Kept until the model or the view changes: a selection click or a
        // pan of the flat views does not draw a large model again.
        const QSize pixels = DevicePixels(view.Size, scale);
        if (Perspective.size() != pixels || Perspective.devicePixelRatio() != scale || !PerspectiveValid) {
            Perspective = RenderModelImage(&FModel, {pixels.width(), pixels.height(), FKX, FKY, static_cast<float>(FR * scale)},
                                           0, QRect(QPoint(0, 0), pixels));
            Perspective.setDevicePixelRatio(scale);
            PerspectiveValid = true;
        }
        painter.drawImage(0, 0, Perspective);
        return;
    }
    painter.drawImage(0, 0, OrthoViewImage(view.Size, scale, *view.Axes, FCamera, FModel, FSelected));
}

TViewTarget TfrmModel::ViewTarget(const TPaintBox& box) const {
    if (&box == PaintBox4) return {std::nullopt, box.size()};
    return {&box == PaintBox1 ? kFrontView : &box == PaintBox2 ? kSideView : kTopView, box.size()};
}

TGestureHost TfrmModel::GestureHost() {
    return {.Model = &FModel,
            .Camera = &FCamera,
            .KX = &FKX,
            .KY = &FKY,
            .R = &FR,
            .Selected = [this] { return FSelected; },
            .Select =
                [this](std::int32_t i) {
                    SelectElement(i);
                    RedrawViews();
                },
            .ChangeSelected =
                [this](const bbx::TSphereElement& e) {
                    ChangeSelected(e);
                    ShowElement(false);
                },
            .FinishEdit = [this] { FinishEdit(); },
            .ViewsChanged = [this](bool perspective) { ViewsChanged(perspective); }};
}

void TfrmModel::FitToModel() {
    std::vector<TViewPlace> views;
    for (const TPaintBox* box : {PaintBox1, PaintBox2, PaintBox3}) views.push_back({*ViewTarget(*box).Axes, box->size()});
    FCamera = FittedCamera(FModel, views, FCamera);
    const std::optional<float> scale = FittedPerspectiveScale(FModel, PaintBox4->size(), FKX, FKY);
    if (scale) FR = *scale;
    ViewsChanged(scale.has_value());
}

void TfrmModel::UpdateStatus(const TPaintBox* box, QPoint point) {
    QString text;
    if (box && box != PaintBox4 && FCamera.Zoom > 0) {
        const TOrthoAxes axes = box == PaintBox1 ? kFrontView : box == PaintBox2 ? kSideView : kTopView;
        const auto name = [](TAxis axis) { return axis == TAxis::X ? "x" : axis == TAxis::Y ? "y" : "z"; };
        // The inverse of ToScreen: the pixel's place in model units.
        const auto unit = [this](int pixel, int centre, TAxis axis) {
            return RealText(static_cast<float>((double(pixel) - centre - FCamera.Pan(axis)) / FCamera.Zoom));
        };
        text = QString("%1: %2 = %3, %4 = %5   ")
                   .arg(box == PaintBox1 ? QString::fromUtf8("Przód") : box == PaintBox2 ? QString::fromUtf8("Bok") : QString::fromUtf8("Góra"),
                        name(axes.Horizontal), unit(point.x(), box->width() / 2, axes.Horizontal), name(axes.Vertical),
                        unit(point.y(), box->height() / 2, axes.Vertical));
    }
    text += QString::fromUtf8("Powiększenie %1   ").arg(RealText(FCamera.Zoom));
    text += HasSelection() ? QString::fromUtf8("Element %1 z %2 (%3)")
                                 .arg(FSelected)
                                 .arg(FModel.Count())
                                 .arg(bbx::IsSingleSphere(FModel.GetElement(FSelected)) ? QString::fromUtf8("kula")
                                                                                         : QString::fromUtf8("szereg"))
                           : QString::fromUtf8("Elementów: %1, żaden nie jest zaznaczony").arg(FModel.Count());
    if (text == Status) return;
    Status = text;
    emit StatusChanged(Status);
}

void TfrmModel::ViewsChanged(bool perspective) {
    if (perspective) PerspectiveValid = false;
    UpdateStatus(nullptr, {});
    RedrawViews();
}

void TfrmModel::RedrawViews() {
    for (TPaintBox* box : {PaintBox1, PaintBox2, PaintBox3, PaintBox4}) box->repaint();
}

// --- Selection and fields ---

QString TfrmModel::StoredText(std::size_t field) const {
    if (!HasSelection()) return "0";
    const bbx::TSphereElement e = FModel.GetElement(FSelected);
    switch (field) {
        case ColorR:
            return QString::number(bbx::GetRValue(e.Color));
        case ColorG:
            return QString::number(bbx::GetGValue(e.Color));
        case ColorB:
            return QString::number(bbx::GetBValue(e.Color));
        case C:
            return QString::number(e.C);
        default:
            return RealText(e.*kRealFields[field]);
    }
}

void TfrmModel::SelectElement(std::int32_t i) {
    FinishEdit();
    FSelected = i;
    ShowElement(true);
    Elements->ShowSelection(FSelected);
    UpdateStatus(nullptr, {});
    emit SelectionChanged();
}

void TfrmModel::ShowElement(bool enableFields) {
    Filling = true;
    const bool selected = HasSelection();
    const bool series = selected && !bbx::IsSingleSphere(FModel.GetElement(FSelected));
    for (std::size_t f = 0; f < FieldCount; ++f) {
        // Only changed texts are set, so a field being typed in keeps its cursor.
        const QString text = StoredText(f);
        if (Edits[f]->text() != text) Edits[f]->setText(text);
        if (!enableFields) continue;
        Edits[f]->setEnabled(selected && (series || f <= R1 || (f >= ColorR && f <= ColorB)));
        Handles[f]->setEnabled(Edits[f]->isEnabled());
    }
    if (enableFields) btnColor->setEnabled(selected);
    Filling = false;
}

void TfrmModel::ChangeSelected(const bbx::TSphereElement& e) {
    if (!EditStart || EditedElement != FSelected) {
        FinishEdit();
        EditStart = FModel.GetElement(FSelected);
        EditedElement = FSelected;
    }
    FModel.SetElement(FSelected, e);
    Elements->ElementChanged(FSelected);
    ViewsChanged(true);
}

void TfrmModel::FinishEdit() {
    if (!EditStart) return;
    const bbx::TSphereElement before = *std::exchange(EditStart, std::nullopt);
    const std::int32_t model = ModelIndex();
    if (model < 0 || EditedElement >= FModel.Count()) return;
    const bbx::TSphereElement after = FModel.GetElement(EditedElement);
    if (!SameElement(before, after)) Host.Record(SetElementCommand(Host, model, EditedElement, before, after, true));
}

void TfrmModel::CancelEdit() {
    if (!EditStart) return;
    const bbx::TSphereElement before = *std::exchange(EditStart, std::nullopt);
    if (ModelIndex() < 0 || EditedElement >= FModel.Count()) return;
    FModel.SetElement(EditedElement, before);
    Elements->ElementChanged(EditedElement);
    ViewsChanged(true);
}

void TfrmModel::ModelChanged() {
    if (ModelIndex() < 0) return;
    // A drag of an element that an undo took back ends here.
    Gestures.Reset();
    setWindowTitle(LiteralTitle(ToQt(FModel.Name)));
    Elements->Refresh(HasSelection() ? FSelected : -1);
    // The fields show the element's values now; which of them can be edited
    // follows at the next selection, as after typing C.
    if (HasSelection())
        ShowElement(false);
    else
        SelectElement(-1);
    ViewsChanged(true);
}

void TfrmModel::FieldChanged(std::size_t field) {
    if (Filling || !HasSelection()) return;
    bbx::TSphereElement e = FModel.GetElement(FSelected);
    if (field == C) {
        const auto c = ParseIntText(Edits[C]->text());
        if (!c) return;
        e.C = *c;
    } else {
        const auto value = ParseRealText(Edits[field]->text());
        if (!value) return;
        e.*kRealFields[field] = *value;
    }
    ChangeSelected(e);
}

void TfrmModel::ColorChanged() {
    if (Filling || !HasSelection()) return;
    const auto r = ParseIntText(Edits[ColorR]->text());
    const auto g = ParseIntText(Edits[ColorG]->text());
    const auto b = ParseIntText(Edits[ColorB]->text());
    if (!r || !g || !b) return;
    bbx::TSphereElement e = FModel.GetElement(FSelected);
    e.Color = bbx::RGB(static_cast<unsigned>(*r), static_cast<unsigned>(*g), static_cast<unsigned>(*b));
    ChangeSelected(e);
}

void TfrmModel::ChooseColor() {
    const auto byte = [this](TField f) {
        const auto value = ParseIntText(Edits[f]->text());
        if (!value) throw EEditorError(QString::fromUtf8("„%1” w polu %2 nie jest liczbą całkowitą.").arg(Edits[f]->text(), kFields[f].Label));
        return *value & 0xFF;
    };
    const QColor initial(byte(ColorR), byte(ColorG), byte(ColorB));
    if (!Edits[ColorR]->isEnabled()) return;
    QColorDialog dialog(initial, this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return;
    const QColor chosen = dialog.selectedColor();
    Edits[ColorR]->setText(QString::number(chosen.red()));
    Edits[ColorG]->setText(QString::number(chosen.green()));
    Edits[ColorB]->setText(QString::number(chosen.blue()));
    FinishEdit();
}

// --- Element commands ---

void TfrmModel::InsertElement(const bbx::TSphereElement& e, std::int32_t at) {
    Host.Record(InsertElementCommand(Host, ModelIndex(), at, e));
    SelectElement(at);
    RedrawViews();
}

void TfrmModel::InsertSphere() { InsertElement(bbx::MakeSphere(kWhite, 0, 0, 0, 30), FModel.Count()); }

void TfrmModel::InsertSeries() {
    InsertElement(bbx::MakeSeries(kWhite, 3, 0, -30, 0, 30, 0, 30, 0, 30), FModel.Count());
}

void TfrmModel::DuplicateSelected() {
    if (!HasSelection()) return;
    // The edit in progress is already in the element: it is recorded first
    // and copied with it.
    FinishEdit();
    InsertElement(FModel.GetElement(FSelected), FSelected + 1);
}

bool TfrmModel::CanMakeSeries() const { return HasSelection() && bbx::IsSingleSphere(FModel.GetElement(FSelected)); }

void TfrmModel::MakeSelectedSeries() {
    if (!CanMakeSeries()) return;
    FinishEdit();
    const bbx::TSphereElement sphere = FModel.GetElement(FSelected);
    Host.Record(SetElementCommand(Host, ModelIndex(), FSelected, sphere, SeriesFromSphere(sphere), false));
    // Selected anew, so that the second end's fields and C can be edited.
    SelectElement(FSelected);
    RedrawViews();
}

TModelView TfrmModel::View() const {
    return {FCamera.Zoom, FCamera.PanX, FCamera.PanY, FCamera.PanZ, FKX, FKY, FR};
}

void TfrmModel::SetView(const TModelView& view) {
    FCamera.Zoom = view.Zoom;
    FCamera.PanX = view.PanX;
    FCamera.PanY = view.PanY;
    FCamera.PanZ = view.PanZ;
    FKX = view.KX;
    FKY = view.KY;
    FR = view.R;
    ViewsChanged(true);
}

void TfrmModel::DeleteSelected() {
    if (!HasSelection()) return;
    FinishEdit();
    Host.Record(RemoveElementCommand(Host, ModelIndex(), FSelected));
    SelectElement(-1);
    RedrawViews();
}

void TfrmModel::CopySelected() {
    if (!HasSelection()) return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(ElementClipboardText(FModel.GetElement(FSelected))));
}

void TfrmModel::CutSelected() {
    CopySelected();
    DeleteSelected();
}

std::optional<bbx::TSphereElement> TfrmModel::ClipboardElement() {
    return ParseElementClipboardText(QGuiApplication::clipboard()->text().left(259).toStdString());
}

void TfrmModel::PasteElement() {
    if (const auto element = ClipboardElement()) InsertElement(*element, FModel.Count());
}

}  // namespace editor
