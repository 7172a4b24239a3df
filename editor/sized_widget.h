#pragma once
// A plain widget that tells the window around it its natural and smallest
// size: Qt's cascade and tile, and a subwindow's first size, go by them.

#include <QWidget>

namespace editor {

class TSizedWidget : public QWidget {
public:
    TSizedWidget(QSize natural, QSize smallest) : Natural(natural) { setMinimumSize(smallest); }

    QSize sizeHint() const override { return Natural; }

private:
    QSize Natural;
};

}  // namespace editor
