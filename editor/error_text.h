#pragma once
// What the editor says when something fails: in Polish, naming the file a
// file command worked on. The system's error codes are translated here, in
// one place; the model file's own texts are kept ("Nieprawidłowy format", and
// "Read beyond end of file" after its Polish explanation).

#include <QByteArray>
#include <QString>
#include <exception>
#include <utility>

namespace bbx {
class ETooManySpheres;
class Tbbx_model;
}  // namespace bbx

namespace editor {

// An error whose text the editor has already put into words.
class EEditorError : public std::exception {
public:
    explicit EEditorError(QString text) : FText(std::move(text)), Utf8(FText.toUtf8()) {}
    const char* what() const noexcept override { return Utf8.constData(); }
    const QString& Text() const { return FText; }

private:
    QString FText;
    QByteArray Utf8;
};

// The Polish name of a system error code, or the system's own text for a
// code without one.
QString SystemErrorText(int errnoValue);

// The text the error box shows for the error.
QString ErrorText(const std::exception& error);

// The model's name and ID, the element that passes the limit on the spheres
// one render may expand to, and that the model stays editable.
QString SphereLimitText(const bbx::ETooManySpheres& error, const bbx::Tbbx_model& model);

// "lead „file name”." and, after an empty line, what went wrong; the file's
// path is left out of the details where it only repeats the file.
QString FileErrorText(const QString& lead, const QString& path, const std::exception& error);

// Runs a command on the file at path; an error comes out as EEditorError
// with FileErrorText.
template <typename Command>
void OnFile(const QString& lead, const QString& path, Command&& command) {
    try {
        std::forward<Command>(command)();
    } catch (const EEditorError&) {
        throw;
    } catch (const std::exception& error) {
        throw EEditorError(FileErrorText(lead, path, error));
    }
}

}  // namespace editor
