#pragma once
// A panel that keeps one inner panel of fixed size vertically centred, its
// top at (own height div 2) - (inner height div 2).

#include <QWidget>

namespace editor {

class TCentredPanel : public QWidget {
public:
    TCentredPanel(QWidget* parent, QSize innerSize);

    QWidget* Inner() const { return InnerPanel; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* InnerPanel;
};

}  // namespace editor
