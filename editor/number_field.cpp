#include "editor/number_field.h"

#include <QKeyEvent>
#include <QWheelEvent>

#include "editor/qt_convert.h"

namespace editor {

TNumberField::TNumberField(QWidget* parent, const TDragRule& rule) : QLineEdit(parent), Rule(rule) {
    connect(this, &QLineEdit::textChanged, this, &TNumberField::Mark);
    connect(this, &QLineEdit::editingFinished, this, &TNumberField::EditingFinished);
}

bool TNumberField::Parses() const {
    return Rule.Integer ? ParseIntText(text()).has_value() : ParseRealText(text()).has_value();
}

void TNumberField::Mark() {
    const bool wrong = !Parses();
    if (property("bbxWrong").toBool() == wrong) return;
    setProperty("bbxWrong", wrong);
    setToolTip(wrong ? QString::fromUtf8("To nie jest liczba: wartość pozostaje bez zmian") : QString());
    QPalette colours = palette();
    colours.setColor(QPalette::Base, wrong ? QColor(255, 205, 205) : QPalette().color(QPalette::Base));
    setPalette(colours);
}

void TNumberField::EditingFinished() {
    if (!Parses()) {
        emit Cancelled();
        if (StoredText) setText(StoredText());
    }
    emit Finished();
}

void TNumberField::Step(int direction) {
    if (!isEnabled() || isReadOnly()) return;
    if (const auto stepped = Rule.Stepped(text(), direction)) {
        setText(*stepped);
        emit Finished();
    }
}

void TNumberField::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        Step(event->key() == Qt::Key_Up ? 1 : -1);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TNumberField::wheelEvent(QWheelEvent* event) {
    // Only a field being edited: scrolling past it must not change it.
    const int notches = event->angleDelta().y() / 120;
    if (!hasFocus() || notches == 0) {
        QLineEdit::wheelEvent(event);
        return;
    }
    Step(notches > 0 ? 1 : -1);
    event->accept();
}

}  // namespace editor
