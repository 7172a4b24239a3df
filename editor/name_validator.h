#pragma once
// Keeps model names within what the model file can store: a change that
// brings in a character Windows-1250 lacks is refused, and the owner is told
// which character it was so that it can say so.

#include <QValidator>
#include <functional>

namespace editor {

class TNameValidator : public QValidator {
public:
    explicit TNameValidator(QObject* parent);

    State validate(QString& input, int& pos) const override;

    std::function<void(const QString& character)> OnRefused;
};

// The message shown for a refused character.
QString RefusedCharacterMessage(const QString& character);

}  // namespace editor
