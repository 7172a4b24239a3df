#pragma once
// How a field's drag handle turns the pointer's vertical position into a
// value. Pressing stores an anchor (value minus the pointer's step), so the
// value follows the pointer: moving down increases it.

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QLineEdit;

namespace editor {

class TDragHandle;

// What a window remembers while a handle is dragged; one per window, shared
// by all of its handles.
struct TDragState {
    bool Dragging = false;
    bool ZoomDragging = false;
    float Anchor0 = 0;
    float Anchor1 = 0;
    std::int32_t IntAnchor = 0;
};

struct TDragRule {
    bool Integer = false;
    // Real values move by y / Divisor, integers by y div Divisor.
    int Divisor = 1;
    std::optional<double> Minimum;
    std::optional<double> Maximum;

    // Stores the anchor for a press at y; false when the text is no number.
    bool Press(const QString& text, int y, TDragState& state) const;
    // The value for the pointer at y, as the field shows it.
    QString ValueAt(int y, const TDragState& state) const;
    // The text's value moved by one step (an integer 1, a real 1 / Divisor)
    // up or down (direction 1 or -1) within the limits; nullopt when the
    // text is no number.
    std::optional<QString> Stepped(const QString& text, int direction) const;
};

// Wires a field's handle (with its tooltip): a press starts a drag from the field's value, each
// move while dragging writes the new value into the field (if it is enabled)
// and then calls afterMove, a release stops and calls afterRelease.
void ConnectFieldHandle(TDragHandle& handle, QLineEdit& edit, const TDragRule& rule, TDragState& state,
                        std::function<void()> afterMove = {}, std::function<void()> afterRelease = {});

}  // namespace editor
