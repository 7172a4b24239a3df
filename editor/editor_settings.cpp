#include "editor/editor_settings.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <limits>
#include <optional>

#include "core/program_directory.h"
#include "editor/qt_convert.h"

namespace editor {
namespace {

constexpr char kFileName[] = "bbxedit.ini";

// The key's text as written. QSettings reads an unquoted value holding a
// comma (a decimal comma) as a list; it is joined back.
QString Text(const QSettings& ini, const char* key) {
    const QVariant value = ini.value(key);
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(',');
    return value.toString();
}

// A value outside [minimum, maximum], like one that does not parse, takes
// the default: a negative width or size is no width or size at all.
template <typename T>
T InRange(std::optional<T> value, T fallback, T minimum, T maximum) {
    return value && *value >= minimum && *value <= maximum ? *value : fallback;
}

constexpr float kAnyReal = std::numeric_limits<float>::max();

float Real(const QSettings& ini, const char* key, float fallback, float minimum = -kAnyReal) {
    return InRange(ParseRealText(Text(ini, key)), fallback, minimum, kAnyReal);
}

std::int32_t Integer(const QSettings& ini, const char* key, std::int32_t fallback, std::int32_t minimum,
                     std::int32_t maximum) {
    return InRange(ParseIntText(Text(ini, key)), fallback, minimum, maximum);
}

}  // namespace

TEditorSettings ReadSettings(const QString& path) {
    const QSettings ini(path, QSettings::IniFormat);
    const TEditorSettings defaults;
    TEditorSettings s;
    // The section's name is spelt so in every settings file ever written.
    s.ListWidth = Integer(ini, "Genral/ListWidth", defaults.ListWidth, kMinListWidth, kMaxListWidth);
    s.KX = Real(ini, "View/kx", defaults.KX);
    s.KY = Real(ini, "View/ky", defaults.KY);
    s.R = Real(ini, "View/r", defaults.R, 0);
    s.Szer = Integer(ini, "View/cx", defaults.Szer, 0, kMaxPreviewSide);
    s.Wys = Integer(ini, "View/cy", defaults.Wys, 0, kMaxPreviewSide);
    s.Zoom = Integer(ini, "View/Zoom", defaults.Zoom, 0, kMaxPreviewZoom);
    s.Background = static_cast<bbx::TColor>(
        Integer(ini, "View/Background", static_cast<std::int32_t>(defaults.Background), 0, 0xFFFFFF));
    return s;
}

void WriteSettings(const QString& path, const TEditorSettings& s) {
    QSettings ini(path, QSettings::IniFormat);
    ini.setValue("Genral/ListWidth", QString::number(s.ListWidth));
    ini.setValue("View/kx", RealText(s.KX));
    ini.setValue("View/ky", RealText(s.KY));
    ini.setValue("View/r", RealText(s.R));
    ini.setValue("View/cx", QString::number(s.Szer));
    ini.setValue("View/cy", QString::number(s.Wys));
    ini.setValue("View/Zoom", QString::number(s.Zoom));
    ini.setValue("View/Background", QString::number(static_cast<std::int32_t>(s.Background)));
    ini.sync();
}

QStringList ReadRecentFiles(const QString& path) {
    const QSettings ini(path, QSettings::IniFormat);
    QStringList files;
    for (int i = 1; i <= kRecentFiles; ++i) {
        const QString file = Text(ini, qPrintable(QString("Recent/File%1").arg(i)));
        if (!file.isEmpty() && !files.contains(file)) files << file;
    }
    return files;
}

void WriteRecentFiles(const QString& path, const QStringList& files) {
    QSettings ini(path, QSettings::IniFormat);
    ini.remove("Recent");
    for (int i = 0; i < std::min<int>(kRecentFiles, static_cast<int>(files.size())); ++i)
        ini.setValue(QString("Recent/File%1").arg(i + 1), files[i]);
    ini.sync();
}

QByteArray ReadWindowGeometry(const QString& path) {
    const QSettings ini(path, QSettings::IniFormat);
    return QByteArray::fromBase64(Text(ini, "Window/Geometry").toLatin1());
}

void WriteWindowGeometry(const QString& path, const QByteArray& geometry) {
    QSettings ini(path, QSettings::IniFormat);
    ini.setValue("Window/Geometry", QString::fromLatin1(geometry.toBase64()));
    ini.sync();
}

QString SettingsFilePath(const QString& programDirectory, const QString& userConfigDirectory) {
    const QString beside = programDirectory + "/" + kFileName;
    const QFileInfo file(beside);
    const bool writable = file.exists() ? file.isWritable() : QFileInfo(programDirectory).isWritable();
    return writable ? beside : userConfigDirectory + "/" + kFileName;
}

QString DefaultSettingsFilePath() {
    return SettingsFilePath(QString::fromStdString(bbx::ProgramDirectory()).chopped(1),
                            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

}  // namespace editor
