#include "editor/qt_convert.h"

#include <cmath>

#include "core/code_page.h"
#include "core/real_format.h"

namespace editor {

QString ToQt(std::string_view cp1250) { return QString::fromStdString(bbx::Cp1250ToUtf8(cp1250)); }

std::optional<std::string> ToCp1250(const QString& text) {
    bool lossless = true;
    std::string bytes = bbx::Utf8ToCp1250(text.toStdString(), &lossless);
    if (!lossless) return std::nullopt;
    return bytes;
}

QString LiteralTitle(const QString& title) {
    QString escaped = title;
    return escaped.replace("[*]", "[*][*]");
}

QString RealText(float value) { return QString::fromStdString(bbx::FormatReal(value)); }

std::optional<float> ParseRealText(const QString& text) {
    const auto value = bbx::ParseReal(text.toStdString());
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

std::optional<std::int32_t> ParseIntText(const QString& text) { return bbx::ParseInt(text.toStdString()); }

QColor ToQColor(bbx::TColor color) {
    return QColor(static_cast<int>(bbx::GetRValue(color)), static_cast<int>(bbx::GetGValue(color)),
                  static_cast<int>(bbx::GetBValue(color)));
}

bbx::TColor FromQColor(const QColor& color) {
    return bbx::RGB(static_cast<unsigned>(color.red()), static_cast<unsigned>(color.green()),
                    static_cast<unsigned>(color.blue()));
}

}  // namespace editor
