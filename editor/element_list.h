#pragma once
// The list of a model's elements beside the editing window's views: one row
// per element with its place, its kind, a swatch of its colour and, for a
// series, its count C. The window tells it of every change of the model and
// of its selection; it tells the window which row the user chose.

#include <QTreeView>
#include <cstdint>

namespace bbx {
class Tbbx_model;
}

namespace editor {

class TElementRows;

class TElementList : public QTreeView {
    Q_OBJECT

public:
    TElementList(const bbx::Tbbx_model& model, QWidget* parent);

    // The model may have changed in any way: the rows are taken anew and the
    // selected element's row (none for -1) is marked and kept in sight.
    void Refresh(std::int32_t selected);
    // Only this element's values changed.
    void ElementChanged(std::int32_t element);
    // Marks the element's row (none for -1) without reporting a choice.
    void ShowSelection(std::int32_t selected);
    // The element of the marked row, -1 for none.
    std::int32_t SelectedElement() const;

    QSize sizeHint() const override;

signals:
    // The user marked the row of this element (-1: no row is marked).
    void ElementChosen(std::int32_t element);

private:
    void RowsSelected();

    TElementRows* Rows;
    bool Showing = false;
};

}  // namespace editor
