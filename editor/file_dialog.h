#pragma once
// The editor's open and save dialogs: Qt's own (not the desktop's), wholly
// in Polish whatever the user's locale. Qt takes the sizes and dates in their
// list from the system's locale rather than from its translations, so they
// are written here in Polish.

#include <QString>
#include <cstdint>

class QDateTime;
class QFileDialog;

namespace editor {

// Qt's own dialog, its file list speaking Polish.
void PrepareFileDialog(QFileDialog& dialog);

// "1 bajt", "3 bajty", "5 bajtów", "4,88 KiB" ...
QString PolishFileSize(std::int64_t bytes);
QString PolishFileTime(const QDateTime& time);

}  // namespace editor
