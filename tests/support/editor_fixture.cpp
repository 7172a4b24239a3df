#include "support/editor_fixture.h"

#include <QFile>
#include <QKeyEvent>
#include <QMdiArea>
#include <QTest>

TEditorFixture::TEditorFixture() { Start(); }

TEditorFixture::~TEditorFixture() = default;

void TEditorFixture::Start() {
    MainWindow = std::make_unique<editor::TfrmMain>(SettingsPath());
    MainWindow->show();
    Activate();
}

void TEditorFixture::Activate() const {
    MainWindow->activateWindow();
    QApplication::setActiveWindow(MainWindow.get());
    if (!QTest::qWaitForWindowActive(MainWindow.get())) qWarning("the main window did not become active");
}

void TEditorFixture::Stop() { MainWindow.reset(); }

QTreeWidget& TEditorFixture::ListView() const { return *List().findChild<QTreeWidget*>("ListView"); }

void TEditorFixture::ClickRow(int row) const {
    QTreeWidget& view = ListView();
    const QRect place = view.visualItemRect(view.topLevelItem(row));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, place.center());
}

bbx::Tbbx_collection MakeCollection(const std::vector<std::string>& names) {
    bbx::Tbbx_collection collection;
    for (std::size_t i = 0; i < names.size(); ++i) {
        bbx::Tbbx_model& model = *collection.Add();
        model.Name = names[i];
        model.ID = static_cast<std::int32_t>(i);
        model.I1 = 32;
        model.I2 = 48;
        model.AddElement(bbx::MakeSphere(bbx::RGB(200, 100, 50), 0, 0, 0, 10.0f + static_cast<float>(i)));
    }
    return collection;
}

void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    TypeText(edit, text);
}

void TypeAndEnter(QLineEdit* edit, const QString& text) {
    Type(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

std::string ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

void WriteBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the test file");
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::vector<std::string> ModelNames(const bbx::Tbbx_collection& collection) {
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < collection.Count(); ++i) names.push_back(collection.Items(i)->Name);
    return names;
}
