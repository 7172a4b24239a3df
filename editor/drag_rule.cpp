#include "editor/drag_rule.h"

#include <QLineEdit>
#include <algorithm>
#include <cmath>
#include <limits>

#include "editor/drag_handle.h"
#include "editor/qt_convert.h"

namespace editor {
namespace {

template <typename T>
T Clamp(T value, const std::optional<double>& minimum, const std::optional<double>& maximum) {
    if (minimum && value < *minimum) value = static_cast<T>(*minimum);
    if (maximum && value > *maximum) value = static_cast<T>(*maximum);
    return value;
}

std::int32_t Saturate(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                               std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

bool TDragRule::Press(const QString& text, int y, TDragState& state) const {
    if (Integer) {
        const auto value = ParseIntText(text);
        if (!value) return false;
        state.IntAnchor = Saturate(std::int64_t(*value) - y / Divisor);
        return true;
    }
    const auto value = ParseRealText(text);
    if (!value) return false;
    state.Anchor0 = static_cast<float>(*value - static_cast<long double>(y) / Divisor);
    return true;
}

QString TDragRule::ValueAt(int y, const TDragState& state) const {
    if (Integer) return QString::number(Clamp(Saturate(std::int64_t(state.IntAnchor) + y / Divisor), Minimum, Maximum));
    const auto value = static_cast<float>(state.Anchor0 + static_cast<long double>(y) / Divisor);
    return RealText(Clamp(value, Minimum, Maximum));
}

std::optional<QString> TDragRule::Stepped(const QString& text, int direction) const {
    if (Integer) {
        const auto value = ParseIntText(text);
        if (!value) return std::nullopt;
        return QString::number(Clamp(Saturate(std::int64_t(*value) + direction), Minimum, Maximum));
    }
    const auto value = ParseRealText(text);
    if (!value) return std::nullopt;
    const float stepped = Clamp(static_cast<float>(*value + static_cast<long double>(direction) / Divisor), Minimum, Maximum);
    if (!std::isfinite(stepped)) return std::nullopt;
    return RealText(stepped);
}

void ConnectFieldHandle(TDragHandle& handle, QLineEdit& edit, const TDragRule& rule, TDragState& state,
                        std::function<void()> afterMove, std::function<void()> afterRelease) {
    // A press on the handle puts the focus in its field rather than taking it
    // away, which would end the field's edit before the drag reads it.
    handle.setFocusPolicy(Qt::ClickFocus);
    handle.setFocusProxy(&edit);
    handle.setToolTip(QString::fromUtf8("Przeciągnij w dół, by zwiększyć wartość, w górę, by ją zmniejszyć"));
    handle.OnMouseDown = [&edit, rule, &state](QPoint pos, Qt::KeyboardModifiers) {
        state.Dragging = rule.Press(edit.text(), pos.y(), state);
    };
    handle.OnMouseMove = [&edit, rule, &state, afterMove = std::move(afterMove)](QPoint pos) {
        if (!state.Dragging || !edit.isEnabled()) return;
        edit.setText(rule.ValueAt(pos.y(), state));
        if (afterMove) afterMove();
    };
    handle.OnMouseUp = [&state, afterRelease = std::move(afterRelease)] {
        const bool wasDragging = state.Dragging;
        state.Dragging = false;
        state.ZoomDragging = false;
        if (wasDragging && afterRelease) afterRelease();
    };
}

}  // namespace editor
