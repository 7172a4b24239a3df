#pragma once
// What the mouse does in the four views of the model editing window. In a
// flat view a left press selects the element under it, and a drag moves the
// element in the view's plane (an end of a series, with Shift the whole
// series); a press that does not move is a click. The middle button pans,
// the wheel zooms about the pointer. In the perspective view a left drag
// turns and tilts, the wheel scales.

#include <QPointF>
#include <QSize>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/bbx_model.h"
#include "editor/ortho_view.h"

namespace editor {

// The part of an element a drag moves.
enum class TDraggedPart { FirstEnd, SecondEnd, Whole };

// The element with its part moved by the pointer's way (view pixels) in a
// view with those axes at that zoom: way / zoom model units along each of
// the view's axes, rounded to the largest power of two (..., 0.5, 1, 2, ...)
// not above one pixel's worth; nothing along the third. A single sphere's
// part is its one sphere whatever is asked.
bbx::TSphereElement MovedElement(const bbx::TSphereElement& start, TOrthoAxes axes, TDraggedPart part, QPointF way,
                                 float zoom);

// A mouse event in a view, positions in view pixels.
struct TPointerEvent {
    QPointF Position;
    Qt::MouseButton Button = Qt::NoButton;  // the one pressed or released
    Qt::KeyboardModifiers Modifiers;
};

// A view as the gestures see it: its axes (none for the perspective view)
// and its size.
struct TViewTarget {
    std::optional<TOrthoAxes> Axes;
    QSize Size;
};

// The window's state the gestures act on.
struct TGestureHost {
    const bbx::Tbbx_model* Model = nullptr;
    TOrthoCamera* Camera = nullptr;
    float* KX = nullptr;
    float* KY = nullptr;
    float* R = nullptr;
    std::function<std::int32_t()> Selected;
    // Selects the element (-1: none) as a click does.
    std::function<void(std::int32_t)> Select;
    // The selected element becomes this, as an edit in progress.
    std::function<void(const bbx::TSphereElement&)> ChangeSelected;
    // The edit in progress is finished: one step in the history.
    std::function<void()> FinishEdit;
    // The views moved; with perspective the perspective view did.
    std::function<void(bool perspective)> ViewsChanged;
};

class TViewGestures {
public:
    explicit TViewGestures(TGestureHost host);

    void Press(const TViewTarget& view, const TPointerEvent& event);
    void Move(const TViewTarget& view, QPointF position);
    void Release(const TViewTarget& view, const TPointerEvent& event);
    void Wheel(const TViewTarget& view, QPointF position, int angleDelta);
    // Forgets the gesture in progress without finishing it: the model changed
    // beneath it.
    void Reset() { Gesture = {}; }
    bool Dragging() const { return Gesture.Kind != TKind::None; }

private:
    enum class TKind { None, Element, Pan, Turn };

    struct TGesture {
        TKind Kind = TKind::None;
        Qt::MouseButton Button = Qt::NoButton;
        QPointF From;
        // Beyond the drag distance the press is no longer a click.
        bool Moved = false;
        // What a release without a move selects, when the press did not.
        std::optional<std::int32_t> ClickSelects;
        std::int32_t Element = -1;
        TDraggedPart Part = TDraggedPart::FirstEnd;
        bbx::TSphereElement Start{};
        TOrthoCamera Camera;
        float KX = 0;
        float KY = 0;
    };

    void Begin(TKind kind, const TPointerEvent& event);
    void PressElement(const TViewTarget& view, const TPointerEvent& event);
    // The element under the point as a click selects it.
    std::int32_t HitAt(const TViewTarget& view, QPointF position) const;

    TGestureHost Host;
    TGesture Gesture;
};

}  // namespace editor
