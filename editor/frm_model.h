#pragma once
// The editing window of one model of the open collection. It shows the model
// in three flat views and one perspective view; elements are selected by
// clicking, changed through twelve fields with drag handles, inserted,
// deleted, cut, copied and pasted. Every change goes into the model at once
// and into the file's history as one step per finished edit.

#include <QImage>
#include <QMdiSubWindow>
#include <array>
#include <cstdint>
#include <optional>

#include "core/bbx_model.h"
#include "editor/drag_rule.h"
#include "editor/editor_settings.h"
#include "editor/model_commands.h"
#include "editor/ortho_view.h"
#include "editor/view_gestures.h"

class QLineEdit;
class QPainter;
class QPushButton;

namespace editor {

class TCentredPanel;
class TDragHandle;
class TElementList;
class TNumberField;
class TPaintBox;

class TfrmModel : public QMdiSubWindow {
    Q_OBJECT

public:
    // The model belongs to the host's collection; the host closes this
    // window before the model goes away and records its changes.
    TfrmModel(bbx::Tbbx_model& model, TCollectionHost& host);
    ~TfrmModel() override;

    bbx::Tbbx_model& Model() const { return FModel; }
    std::int32_t Selected() const { return FSelected; }
    const TOrthoCamera& Camera() const { return FCamera; }
    float KX() const { return FKX; }
    float KY() const { return FKY; }
    float R() const { return FR; }
    // The views' zoom and pans and the perspective angles and scale.
    TModelView View() const;
    void SetView(const TModelView& view);

    void InsertSphere();
    void InsertSeries();
    void DeleteSelected();
    void CopySelected();
    void CutSelected();
    void PasteElement();
    // Inserts a copy of the selected element right after it and selects it.
    void DuplicateSelected();
    // The selected sphere becomes a series starting at it (SeriesFromSphere).
    void MakeSelectedSeries();
    bool CanMakeSeries() const;

    // Zooms and pans the flat views and scales the perspective view so that
    // they show the whole model.
    void FitToModel();

    void SelectElement(std::int32_t i);
    bool HasSelection() const { return FSelected >= 0 && FSelected < FModel.Count(); }
    // The element PasteElement would add from the clipboard now, if any.
    static std::optional<bbx::TSphereElement> ClipboardElement();
    // Paints the four views now, not at the next paint request.
    void RedrawViews();
    // Records the change made by the edit in progress, if any.
    void FinishEdit();
    // Takes the edit in progress back out of the model.
    void CancelEdit();
    // The model was changed from elsewhere (undo, redo, the list window).
    void ModelChanged();

    // The status line: the pointer's place in model units in the flat view
    // under it (when it is over one), the zoom and the selected element.
    QString StatusText() const { return Status; }

signals:
    void SelectionChanged();
    void StatusChanged(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // What a view handle drags: two values moved by X and Y over the divisor,
    // or, with Ctrl held at the press, one scale moved by (X + Y) · factor.
    struct TViewHandleRule {
        float* A;
        float* B;
        long double Divisor;
        float* Scale;
        long double ScaleFactor;
        TDragHandle* Handle;
        bool Perspective;  // whether it moves the perspective view
    };

    void CreateControls();
    void CreateFields(QWidget* panel);
    void ConnectViewHandle(const TViewHandleRule& rule);
    void LayoutViews();
    // Redraws the views after a change; with perspective the change reaches
    // the perspective picture, which is drawn anew.
    void ViewsChanged(bool perspective);
    void PaintBoxPaint(const TPaintBox& box, QPainter& painter);
    // The view's axes (none for the perspective view) and size.
    TViewTarget ViewTarget(const TPaintBox& box) const;
    TGestureHost GestureHost();
    void UpdateStatus(const TPaintBox* box, QPoint point);
    // The text a field shows for the selected element ("0" without one).
    QString StoredText(std::size_t field) const;
    // Fills the fields from the selected element, and with enableFields
    // enables those the element's kind uses.
    void ShowElement(bool enableFields);
    void FieldChanged(std::size_t field);
    void ColorChanged();
    // Puts the edited value into the selected element at once; the change
    // is recorded when the edit finishes.
    void ChangeSelected(const bbx::TSphereElement& e);
    std::int32_t ModelIndex() const { return Host.Models().IndexOf(&FModel); }
    void InsertElement(const bbx::TSphereElement& e, std::int32_t at);
    void ChooseColor();

    bbx::Tbbx_model& FModel;
    TCollectionHost& Host;
    std::int32_t FSelected = -1;
    // The element being edited as it was before the edit began.
    std::optional<bbx::TSphereElement> EditStart;
    std::int32_t EditedElement = -1;
    TOrthoCamera FCamera;
    float FKX = 0;
    float FKY = 0;
    float FR = 1250;
    TDragState Drag;
    bool Filling = false;
    QString Status;
    QImage Perspective;
    bool PerspectiveValid = false;
    TViewGestures Gestures{GestureHost()};

    QWidget* Client = nullptr;
    TElementList* Elements = nullptr;
    TPaintBox* PaintBox1 = nullptr;
    TPaintBox* PaintBox2 = nullptr;
    TPaintBox* PaintBox3 = nullptr;
    TPaintBox* PaintBox4 = nullptr;
    TDragHandle* Panel1 = nullptr;
    TDragHandle* Panel2 = nullptr;
    TDragHandle* Panel3 = nullptr;
    TDragHandle* Panel4 = nullptr;
    TCentredPanel* Panel = nullptr;
    QWidget* PanelInside = nullptr;
    // edtx1, edty1, edtz1, edtr1, edtx2, edty2, edtz2, edtr2, edtcr, edtcg, edtcb, edtc
    std::array<TNumberField*, 12> Edits{};
    std::array<TDragHandle*, 12> Handles{};  // pnlx1 ... pnlc, in the same order
    QPushButton* btnColor = nullptr;
};

}  // namespace editor
