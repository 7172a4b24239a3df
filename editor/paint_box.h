#pragma once
// A plain drawing area: its owner paints it and hears its mouse presses.

#include <QPoint>
#include <QWidget>
#include <functional>

class QPainter;

namespace editor {

class TPaintBox : public QWidget {
public:
    explicit TPaintBox(QWidget* parent);

    // The painter draws on the whole box; the rectangle is the part to repaint.
    std::function<void(QPainter&, const QRect&)> OnPaint;
    std::function<void(QPoint)> OnMouseDown;
    // With it set the box follows the pointer also while no button is held.
    std::function<void(QPoint)> OnMouseMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace editor
