#include "editor/error_text.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "core/errors.h"
#include "core/render_model.h"
#include "editor/qt_convert.h"

namespace editor {
namespace {

struct TErrorName {
    int Code;
    const char* Text;
};

const TErrorName kErrorNames[] = {
    {EACCES, "Brak uprawnień"},
    {EPERM, "Operacja niedozwolona"},
    {ENOENT, "Nie ma takiego pliku ani katalogu"},
    {EISDIR, "To jest katalog"},
    {ENOTDIR, "Część ścieżki nie jest katalogiem"},
    {ENOSPC, "Brak miejsca na urządzeniu"},
    {EDQUOT, "Przekroczony przydział miejsca na dysku"},
    {EROFS, "System plików tylko do odczytu"},
    {EFBIG, "Plik jest za duży"},
    {EIO, "Błąd wejścia-wyjścia"},
    {ELOOP, "Za dużo poziomów dowiązań symbolicznych"},
    {ENAMETOOLONG, "Za długa nazwa pliku"},
    {EEXIST, "Plik już istnieje"},
    {EMFILE, "Za dużo otwartych plików"},
    {ENFILE, "Za dużo otwartych plików w systemie"},
    {ENOMEM, "Brak pamięci"},
    {EBUSY, "Urządzenie lub zasób jest zajęty"},
    {ETXTBSY, "Plik jest w użyciu"},
    {EXDEV, "Dowiązanie między urządzeniami"},
    {EINVAL, "Nieprawidłowy argument"},
    {ENXIO, "Nie ma takiego urządzenia ani adresu"},
    {ENODEV, "Nie ma takiego urządzenia"},
    {EAGAIN, "Zasób chwilowo niedostępny"},
    {EINTR, "Przerwane wywołanie systemowe"},
};

// The phrases the model file's save adds about its backup copy.
struct TPhrase {
    const char* English;
    const char* Polish;
};

const TPhrase kSavePhrases[] = {
    {"; the previous contents are kept in ", ".\nPoprzednia zawartość pliku jest zachowana w "},
    {"; no backup copy could be made in ", ".\nNie udało się zrobić kopii zapasowej w "},
    {", the file is unchanged", "; plik pozostał bez zmian"},
    {"a cache folder", "folderze podręcznym"},
};

// The error's own text in Polish, without the file's path where it leads.
QString Details(const std::exception& error, const QString& path) {
    QString text = ToQt(error.what());
    const auto* io = dynamic_cast<const bbx::EInOutError*>(&error);
    if (!io || io->ErrorCode == bbx::kBadFormatCode) return text;
    if (io->ErrorCode == bbx::kReadBeyondEndCode)
        return QString::fromUtf8("Plik urywa się przed końcem danych (%1).").arg(text);
    if (!path.isEmpty() && text.startsWith(path + ": ")) text.remove(0, path.size() + 2);
    text.replace(QString::fromUtf8(std::strerror(io->ErrorCode)), SystemErrorText(io->ErrorCode));
    for (const TPhrase& phrase : kSavePhrases) text.replace(phrase.English, QString::fromUtf8(phrase.Polish));
    return text;
}

}  // namespace

QString SystemErrorText(int errnoValue) {
    for (const TErrorName& name : kErrorNames)
        if (name.Code == errnoValue) return QString::fromUtf8(name.Text);
    return QString::fromUtf8(std::strerror(errnoValue));
}

QString ErrorText(const std::exception& error) {
    if (const auto* own = dynamic_cast<const EEditorError*>(&error)) return own->Text();
    return Details(error, {});
}

QString SphereLimitText(const bbx::ETooManySpheres& error, const bbx::Tbbx_model& model) {
    return QString::fromUtf8("Model „%1” (ID %2) ma za dużo kul, by go narysować: element %3 przekracza granicę %4 "
                             "kul (razem %5). Model pozostaje nienarysowany, ale można go dalej edytować.")
        .arg(ToQt(model.Name))
        .arg(error.ModelId)
        .arg(error.Element)
        .arg(bbx::kMaxRenderSpheres)
        .arg(error.Spheres);
}

QString FileErrorText(const QString& lead, const QString& path, const std::exception& error) {
    return QString::fromUtf8("%1 „%2”.\n\n%3").arg(lead, QFileInfo(path).fileName(), Details(error, path));
}

}  // namespace editor
