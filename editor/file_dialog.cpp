#include "editor/file_dialog.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QScreen>

#include "editor/first_size.h"

namespace editor {
namespace {

const QLocale& Polish() {
    static const QLocale polish(QLocale::Polish, QLocale::Poland);
    return polish;
}

// The dialog's file list with the size and date columns in Polish.
class TPolishFileList : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files) return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        // The columns of Qt's file model: name, size, kind, date modified.
        if (source.column() == 1 && !files->isDir(source)) return PolishFileSize(files->size(source));
        if (source.column() == 3) return PolishFileTime(files->lastModified(source));
        return QIdentityProxyModel::data(index, role);
    }
};

}  // namespace

void PrepareFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new TPolishFileList(&dialog));
    // Qt's first size for it can be larger than a small or scaled screen.
    if (const QScreen* screen = dialog.screen())
        dialog.resize(FirstSize(dialog.sizeHint(), dialog.minimumSizeHint(), MainWindowRoom(screen->availableGeometry())));
}

QString PolishFileSize(std::int64_t bytes) {
    if (bytes < 0 || bytes >= 1024) return Polish().formattedDataSize(bytes);
    // The locale's own word ("bajty") fits only 2 to 4, 22 to 24 ...
    const std::int64_t ones = bytes % 10;
    const std::int64_t tens = bytes % 100 / 10;
    const char* word = bytes == 1 ? "bajt" : ones >= 2 && ones <= 4 && tens != 1 ? "bajty" : "bajtów";
    return QString::number(bytes) + ' ' + QString::fromUtf8(word);
}

QString PolishFileTime(const QDateTime& time) { return Polish().toString(time, QLocale::ShortFormat); }

}  // namespace editor
