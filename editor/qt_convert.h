#pragma once
// Conversions at the Qt boundary: inside, the editor keeps text as
// Windows-1250 bytes and colours as colour values (red in the lowest byte);
// numbers are shown in the general real format.

#include <QColor>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/render_canvas.h"

namespace editor {

QString ToQt(std::string_view cp1250);

// The text in Windows-1250, or nullopt when it holds a character the code
// page cannot hold.
std::optional<std::string> ToCp1250(const QString& text);

// A window title shown literally: Qt would take "[*]" for the modified mark.
QString LiteralTitle(const QString& title);

QString RealText(float value);
// A finite single only: "nan", "inf" and values beyond the single range
// ("1e39") are no numbers here.
std::optional<float> ParseRealText(const QString& text);
std::optional<std::int32_t> ParseIntText(const QString& text);

QColor ToQColor(bbx::TColor color);
bbx::TColor FromQColor(const QColor& color);

}  // namespace editor
