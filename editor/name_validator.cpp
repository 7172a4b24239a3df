#include "editor/name_validator.h"

#include "core/code_page.h"

namespace editor {

TNameValidator::TNameValidator(QObject* parent) : QValidator(parent) {}

QValidator::State TNameValidator::validate(QString& input, int&) const {
    for (const char32_t codePoint : input.toUcs4()) {
        if (bbx::CodePointToCp1250(codePoint) >= 0) continue;
        if (OnRefused) OnRefused(QString::fromUcs4(&codePoint, 1));
        return Invalid;
    }
    return Acceptable;
}

QString RefusedCharacterMessage(const QString& character) {
    const QString code = QString::number(character.toUcs4().value(0), 16).toUpper().rightJustified(4, '0');
    return QString::fromUtf8("Znaku „%1” (U+%2) nie można użyć w nazwie modelu: plik modeli zapisuje nazwy "
                             "w stronie kodowej Windows-1250, która go nie zawiera.")
        .arg(character, code);
}

}  // namespace editor
