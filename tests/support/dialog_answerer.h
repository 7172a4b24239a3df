#pragma once
// Answers the modal dialogs that the editor opens, one planned answer per
// dialog in the order they appear, and records what each dialog showed. A
// dialog nobody planned for is recorded and cancelled so no test hangs.

#include <QColor>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

struct TDialogRecord {
    QString Kind;  // "message", "file", "color" or "other"
    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QStringList Buttons;  // the message box's button texts
    QString DefaultButton;  // the text of the one Enter presses
    QStringList NameFilters;  // the file dialog's filters
    QString DefaultSuffix;
    bool Expected = true;
};

class TDialogAnswerer : public QObject {
public:
    TDialogAnswerer();

    // Clicks that button of the next message box.
    void AnswerMessage(QMessageBox::StandardButton button);
    // Chooses the path in the next file dialog; an empty path cancels it.
    void ChooseFile(const QString& path);
    // Chooses the colour in the next colour dialog; an invalid colour cancels it.
    void ChooseColor(const QColor& color);

    const std::vector<TDialogRecord>& Seen() const { return Records; }
    // Every dialog was planned for and every planned answer was used.
    bool AllAnswered() const;

private:
    struct TAnswer {
        QString Kind;
        std::function<void(QWidget*)> Act;
    };
    void Poll();

    QTimer Timer;
    std::deque<TAnswer> Answers;
    std::vector<TDialogRecord> Records;
};
