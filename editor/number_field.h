#pragma once
// An edit box for one number. Text that is no finite number is marked (the
// field turns pink) and changes nothing; when the field is left with such
// text it shows the stored value again. Up and Down, and the wheel while the
// field has the focus, step the value by its drag rule's step. Finished
// comes when an edit is over: Enter, leaving the field, or a step; an edit
// that ends on text that does not parse is Cancelled first, so that its owner
// can take back what the keys on the way stored ("1e3" on the way to "1e39").

#include <QLineEdit>
#include <functional>

#include "editor/drag_rule.h"

namespace editor {

class TNumberField : public QLineEdit {
    Q_OBJECT

public:
    TNumberField(QWidget* parent, const TDragRule& rule);

    // Whether the text is a number of the field's kind.
    bool Parses() const;
    // The text of the value the field stands for, shown when it is left
    // holding text that does not parse.
    std::function<QString()> StoredText;

signals:
    void Cancelled();
    void Finished();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void Step(int direction);
    void Mark();
    void EditingFinished();

    TDragRule Rule;
};

}  // namespace editor
