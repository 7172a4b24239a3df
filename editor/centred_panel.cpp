#include "editor/centred_panel.h"

namespace editor {

TCentredPanel::TCentredPanel(QWidget* parent, QSize innerSize) : QWidget(parent), InnerPanel(new QWidget(this)) {
    setFixedWidth(innerSize.width());
    InnerPanel->setFixedSize(innerSize);
}

void TCentredPanel::resizeEvent(QResizeEvent*) { InnerPanel->move(0, height() / 2 - InnerPanel->height() / 2); }

}  // namespace editor
