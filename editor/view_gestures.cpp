#include "editor/view_gestures.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <algorithm>
#include <cmath>
#include <utility>

#include "editor/view_navigation.h"

namespace editor {
namespace {

// Radians per pixel of a turning drag, as the perspective view's handle turns.
constexpr double kTurnDivisor = 100;

float& EndCoordinate(bbx::TSphereElement& e, int end, TAxis axis) {
    if (end == 0) return axis == TAxis::X ? e.X1 : axis == TAxis::Y ? e.Y1 : e.Z1;
    return axis == TAxis::X ? e.X2 : axis == TAxis::Y ? e.Y2 : e.Z2;
}

}  // namespace

bbx::TSphereElement MovedElement(const bbx::TSphereElement& start, TOrthoAxes axes, TDraggedPart part, QPointF way,
                                 float zoom) {
    bbx::TSphereElement e = start;
    // In steps of a power of two no larger than a pixel, so that a drag
    // adds tidy values (at zoom 2.44 steps of 0.25, not 0.4096).
    const long double step = std::exp2(std::floor(std::log2(1 / static_cast<long double>(zoom))));
    const auto steps = [&](qreal pixels) { return std::round(pixels / zoom / step) * step; };
    const long double across = steps(way.x());
    const long double down = steps(way.y());
    const auto move = [&](int end) {
        float& h = EndCoordinate(e, end, axes.Horizontal);
        h = static_cast<float>(h + across);
        float& v = EndCoordinate(e, end, axes.Vertical);
        v = static_cast<float>(v + down);
    };
    const bool single = bbx::IsSingleSphere(start);
    if (single || part != TDraggedPart::SecondEnd) move(0);
    if (!single && part != TDraggedPart::FirstEnd) move(1);
    return e;
}

TViewGestures::TViewGestures(TGestureHost host) : Host(std::move(host)) {}

std::int32_t TViewGestures::HitAt(const TViewTarget& view, QPointF position) const {
    return HitTest(position.toPoint(), view.Size, *view.Axes, *Host.Camera, *Host.Model);
}

void TViewGestures::Begin(TKind kind, const TPointerEvent& event) {
    Gesture = {};
    Gesture.Kind = kind;
    Gesture.Button = event.Button;
    Gesture.From = event.Position;
}

void TViewGestures::Press(const TViewTarget& view, const TPointerEvent& event) {
    // One gesture at a time: a second button joins the first one's. A press
    // of the gesture's own button means its release was lost (to a popup,
    // say): it ends as a release would have ended it.
    if (Gesture.Kind != TKind::None) {
        if (event.Button != Gesture.Button) return;
        Release(view, event);
    }
    if (!view.Axes) {
        // Clicks in the perspective view select nothing; a left drag turns it.
        if (event.Button != Qt::LeftButton) return;
        Begin(TKind::Turn, event);
        Gesture.Moved = true;
        Gesture.KX = *Host.KX;
        Gesture.KY = *Host.KY;
        return;
    }
    if (event.Button == Qt::LeftButton) {
        PressElement(view, event);
    } else if (event.Button == Qt::MiddleButton) {
        Begin(TKind::Pan, event);
        Gesture.ClickSelects = HitAt(view, event.Position);
        Gesture.Camera = *Host.Camera;
    } else {
        Host.Select(HitAt(view, event.Position));
    }
}

void TViewGestures::PressElement(const TViewTarget& view, const TPointerEvent& event) {
    const bbx::Tbbx_model& model = *Host.Model;
    const QPoint point = event.Position.toPoint();
    const auto grabOf = [&](std::int32_t i) {
        return i >= 0 && i < model.Count() ? GrabEnd(point, view.Size, *view.Axes, *Host.Camera, model.GetElement(i))
                                           : std::nullopt;
    };
    const std::int32_t hit = HitAt(view, event.Position);
    std::int32_t target = hit;
    std::optional<TEndGrab> grab = grabOf(hit);
    std::optional<std::int32_t> clickSelects;
    // The selected element is dragged from anywhere on it, though a click
    // there may select another (a lower circle); a centre handle still wins.
    const std::int32_t selected = Host.Selected();
    if (selected != hit && !(grab && grab->OnHandle)) {
        if (const auto own = grabOf(selected)) {
            target = selected;
            grab = own;
            clickSelects = hit;
        }
    }
    if (!clickSelects) Host.Select(hit);
    if (!grab) return;
    Begin(TKind::Element, event);
    Gesture.ClickSelects = clickSelects;
    Gesture.Element = target;
    Gesture.Part = event.Modifiers.testFlag(Qt::ShiftModifier) ? TDraggedPart::Whole
                   : grab->End == 0                            ? TDraggedPart::FirstEnd
                                                               : TDraggedPart::SecondEnd;
    Gesture.Start = model.GetElement(target);
}

void TViewGestures::Move(const TViewTarget& view, QPointF position) {
    if (Gesture.Kind == TKind::None) return;
    const QPointF way = position - Gesture.From;
    if (!Gesture.Moved) {
        const int distance = QGuiApplication::styleHints()->startDragDistance();
        if (way.manhattanLength() < distance) return;
        Gesture.Moved = true;
    }
    switch (Gesture.Kind) {
        case TKind::Element:
            // The element may have gone (an undo by key while the button is held).
            if (Gesture.Element != Host.Selected() || Gesture.Element >= Host.Model->Count()) {
                Reset();
                return;
            }
            if (!(Host.Camera->Zoom > 0) || !view.Axes) return;
            Host.ChangeSelected(MovedElement(Gesture.Start, *view.Axes, Gesture.Part, way, Host.Camera->Zoom));
            break;
        case TKind::Pan:
            if (!view.Axes) return;
            *Host.Camera = Panned(Gesture.Camera, *view.Axes, way);
            Host.ViewsChanged(false);
            break;
        case TKind::Turn:
            *Host.KX = static_cast<float>(Gesture.KX + way.x() / kTurnDivisor);
            *Host.KY = static_cast<float>(Gesture.KY + way.y() / kTurnDivisor);
            Host.ViewsChanged(true);
            break;
        case TKind::None:
            break;
    }
}

void TViewGestures::Release(const TViewTarget&, const TPointerEvent& event) {
    if (Gesture.Kind == TKind::None || event.Button != Gesture.Button) return;
    // Ended before the host hears of it: finishing the edit reaches the
    // window again through the history.
    const TGesture ended = std::exchange(Gesture, {});
    if (ended.Moved) {
        if (ended.Kind == TKind::Element) Host.FinishEdit();
    } else if (ended.ClickSelects) {
        Host.Select(*ended.ClickSelects);
    }
}

void TViewGestures::Wheel(const TViewTarget& view, QPointF position, int angleDelta) {
    // A drag in progress keeps the scale it started with: its pixels are
    // counted from the press.
    if (angleDelta == 0 || Gesture.Kind != TKind::None) return;
    const double factor = WheelFactor(angleDelta);
    if (!view.Axes) {
        const float from = *Host.R > 0 ? *Host.R : 1;
        *Host.R = static_cast<float>(from * factor);
        Host.ViewsChanged(true);
        return;
    }
    const float from = Host.Camera->Zoom > 0 ? Host.Camera->Zoom : kLeastZoom;
    *Host.Camera = ZoomedAbout(*Host.Camera, *view.Axes, view.Size, position, static_cast<float>(from * factor));
    Host.ViewsChanged(false);
}

}  // namespace editor
