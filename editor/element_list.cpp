#include "editor/element_list.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QSignalBlocker>

#include "core/bbx_model.h"
#include "editor/qt_convert.h"

namespace editor {

enum TElementColumn { kPlace, kKind, kColour, kCount, kColumns };

// The rows over the model itself. The model changes before the list hears of
// it, so the row count is the one last told to the view, and an element past
// the model's end (gone, not yet refreshed) shows nothing.
class TElementRows : public QAbstractTableModel {
public:
    explicit TElementRows(const bbx::Tbbx_model& model, QObject* parent)
        : QAbstractTableModel(parent), Model(model), Shown(model.Count()) {}

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : Shown; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kColumns; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal) return {};
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(section == kPlace || section == kCount ? Qt::AlignRight | Qt::AlignVCenter
                                                                              : Qt::AlignLeft | Qt::AlignVCenter);
        if (role != Qt::DisplayRole) return {};
        static const char* const kTitles[kColumns] = {"Nr", "Rodzaj", "Kolor", "C"};
        return QString::fromUtf8(kTitles[section]);
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= Model.Count()) return {};
        const bbx::TSphereElement e = Model.GetElement(index.row());
        const bool sphere = bbx::IsSingleSphere(e);
        switch (role) {
            case Qt::DisplayRole:
                switch (index.column()) {
                    case kPlace:
                        return index.row();
                    case kKind:
                        return sphere ? QString::fromUtf8("kula") : QString::fromUtf8("szereg");
                    case kCount:
                        return sphere ? QVariant() : QVariant(e.C);
                    default:
                        return {};
                }
            case Qt::DecorationRole:
                return index.column() == kColour ? QVariant(Swatch(e.Color)) : QVariant();
            case Qt::ToolTipRole:
                return index.column() == kColour ? QString("R %1, G %2, B %3")
                                                       .arg(bbx::GetRValue(e.Color))
                                                       .arg(bbx::GetGValue(e.Color))
                                                       .arg(bbx::GetBValue(e.Color))
                                                 : QVariant();
            case Qt::TextAlignmentRole:
                return QVariant::fromValue(index.column() == kPlace || index.column() == kCount
                                               ? Qt::AlignRight | Qt::AlignVCenter
                                               : Qt::AlignLeft | Qt::AlignVCenter);
            default:
                return {};
        }
    }

    void Refresh() {
        if (Model.Count() == Shown) {
            if (Shown > 0) emit dataChanged(index(0, 0), index(Shown - 1, kColumns - 1));
            return;
        }
        beginResetModel();
        Shown = Model.Count();
        endResetModel();
    }

    void RowChanged(int row) {
        if (row >= 0 && row < Shown) emit dataChanged(index(row, 0), index(row, kColumns - 1));
    }

private:
    // The colour in a grey frame, the same in a selected row as in any other.
    static QIcon Swatch(bbx::TColor color) {
        QPixmap square(16, 16);
        square.fill(ToQColor(color));
        QPainter painter(&square);
        painter.setPen(QColor(128, 128, 128));
        painter.drawRect(0, 0, 15, 15);
        painter.end();
        QIcon icon;
        icon.addPixmap(square, QIcon::Normal);
        icon.addPixmap(square, QIcon::Selected);
        return icon;
    }

    const bbx::Tbbx_model& Model;
    int Shown;
};

TElementList::TElementList(const bbx::Tbbx_model& model, QWidget* parent)
    : QTreeView(parent), Rows(new TElementRows(model, this)) {
    setObjectName("ElementList");
    setModel(Rows);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    QHeaderView* header = this->header();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    // Measured from the widest text each column shows, never from the rows
    // themselves: a model may have a great many.
    const QFontMetrics metrics = fontMetrics();
    const int margin = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
    const auto fit = [&](const char* widest) { return metrics.horizontalAdvance(QString::fromUtf8(widest)) + margin; };
    const int widths[kColumns] = {fit("00000"), fit("szereg"), fit("Kolor"), fit("00000")};
    for (int column = 0; column < kColumns; ++column) {
        header->setSectionResizeMode(column, QHeaderView::Fixed);
        header->resizeSection(column, widths[column]);
    }
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &TElementList::RowsSelected);
}

QSize TElementList::sizeHint() const {
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < kColumns; ++column) width += header()->sectionSize(column);
    return {width, QTreeView::sizeHint().height()};
}

void TElementList::Refresh(std::int32_t selected) {
    // Rows taken anew lose their mark: that is no choice of the user's.
    Showing = true;
    Rows->Refresh();
    Showing = false;
    ShowSelection(selected);
}

void TElementList::ElementChanged(std::int32_t element) { Rows->RowChanged(element); }

void TElementList::ShowSelection(std::int32_t selected) {
    Showing = true;
    const QModelIndex row = selected >= 0 && selected < Rows->rowCount({}) ? Rows->index(selected, 0) : QModelIndex();
    if (row.isValid()) {
        selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(row);
    } else {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
    }
    Showing = false;
}

std::int32_t TElementList::SelectedElement() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void TElementList::RowsSelected() {
    if (!Showing) emit ElementChosen(SelectedElement());
}

}  // namespace editor
