#include "support/dialog_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {

QString KindOf(QWidget* dialog) {
    if (qobject_cast<QMessageBox*>(dialog)) return "message";
    if (qobject_cast<QFileDialog*>(dialog)) return "file";
    if (qobject_cast<QColorDialog*>(dialog)) return "color";
    return "other";
}

TDialogRecord Describe(QWidget* dialog) {
    TDialogRecord r;
    r.Kind = KindOf(dialog);
    r.Title = dialog->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        r.Text = box->text();
        r.Icon = box->icon();
        for (QAbstractButton* button : box->buttons()) r.Buttons << button->text();
        if (box->defaultButton()) r.DefaultButton = box->defaultButton()->text();
    }
    if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
        r.NameFilters = files->nameFilters();
        r.DefaultSuffix = files->defaultSuffix();
    }
    return r;
}

}  // namespace

TDialogAnswerer::TDialogAnswerer() {
    connect(&Timer, &QTimer::timeout, this, &TDialogAnswerer::Poll);
    Timer.start(5);
}

void TDialogAnswerer::AnswerMessage(QMessageBox::StandardButton button) {
    Answers.push_back({"message", [button](QWidget* dialog) {
                           static_cast<QMessageBox*>(dialog)->button(button)->click();
                       }});
}

void TDialogAnswerer::ChooseFile(const QString& path) {
    Answers.push_back({"file", [path](QWidget* dialog) {
                           auto* files = static_cast<QFileDialog*>(dialog);
                           if (path.isEmpty()) {
                               files->reject();
                               return;
                           }
                           // Typed into the name field as a user would: selecting
                           // the file needs the folder's contents read first.
                           files->setDirectory(QFileInfo(path).absolutePath());
                           files->findChild<QLineEdit*>("fileNameEdit")->setText(QFileInfo(path).fileName());
                           static_cast<QDialog*>(files)->accept();  // protected in QFileDialog
                       }});
}

void TDialogAnswerer::ChooseColor(const QColor& color) {
    Answers.push_back({"color", [color](QWidget* dialog) {
                           auto* colors = static_cast<QColorDialog*>(dialog);
                           if (!color.isValid()) {
                               colors->reject();
                               return;
                           }
                           colors->setCurrentColor(color);
                           colors->accept();
                       }});
}

bool TDialogAnswerer::AllAnswered() const {
    for (const TDialogRecord& r : Records)
        if (!r.Expected) return false;
    return Answers.empty();
}

void TDialogAnswerer::Poll() {
    QWidget* dialog = QApplication::activeModalWidget();
    // A property, not the address: the next dialog may be built where the last one was.
    if (!dialog || !dialog->isVisible() || dialog->property("bbxAnswered").toBool()) return;
    dialog->setProperty("bbxAnswered", true);
    TDialogRecord record = Describe(dialog);
    if (Answers.empty() || Answers.front().Kind != record.Kind) {
        record.Expected = false;
        Records.push_back(record);
        if (auto* d = qobject_cast<QDialog*>(dialog)) d->reject();
        return;
    }
    Records.push_back(record);
    const TAnswer answer = Answers.front();
    Answers.pop_front();
    // Acted on outside this timer's call: an answer may open the next dialog
    // (an overwrite question), which this timer must be free to answer.
    QMetaObject::invokeMethod(
        this, [answer, target = QPointer<QWidget>(dialog)] { if (target) answer.Act(target); },
        Qt::QueuedConnection);
}
