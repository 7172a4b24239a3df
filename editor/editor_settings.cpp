#include "editor/editor_settings.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

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
    // Only the files: the section also holds the start option.
    for (int i = 1; i <= kRecentFiles; ++i) ini.remove(QString("Recent/File%1").arg(i));
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

bool ReadReopenLast(const QString& path) {
    const QSettings ini(path, QSettings::IniFormat);
    return Text(ini, "Recent/ReopenLast") == "1";
}

void WriteReopenLast(const QString& path, bool reopen) {
    QSettings ini(path, QSettings::IniFormat);
    ini.setValue("Recent/ReopenLast", reopen ? "1" : "0");
    ini.sync();
}

namespace {

// One remembered view with the file and model it belongs to.
struct TRememberedView {
    QString File;
    QString Model;
    TModelView View;
};

constexpr char kViews[] = "ModelViews";

std::vector<TRememberedView> ReadViews(QSettings& ini) {
    const TModelView defaults;
    std::vector<TRememberedView> views;
    const int count = std::min(ini.beginReadArray(kViews), kRememberedViews);
    for (int i = 0; i < count; ++i) {
        ini.setArrayIndex(i);
        TRememberedView entry{Text(ini, "File"), Text(ini, "Model"), {}};
        TModelView& v = entry.View;
        v.Zoom = InRange(ParseRealText(Text(ini, "Zoom")), defaults.Zoom, 0.0f, kMaxViewZoom);
        v.PanX = InRange(ParseRealText(Text(ini, "PanX")), defaults.PanX, -kMaxViewPan, kMaxViewPan);
        v.PanY = InRange(ParseRealText(Text(ini, "PanY")), defaults.PanY, -kMaxViewPan, kMaxViewPan);
        v.PanZ = InRange(ParseRealText(Text(ini, "PanZ")), defaults.PanZ, -kMaxViewPan, kMaxViewPan);
        v.KX = Real(ini, "kx", defaults.KX);
        v.KY = Real(ini, "ky", defaults.KY);
        v.R = Real(ini, "r", defaults.R, 0);
        if (!entry.File.isEmpty()) views.push_back(std::move(entry));
    }
    ini.endArray();
    return views;
}

}  // namespace

std::optional<TModelView> ReadModelView(const QString& path, const QString& file, const QString& model) {
    if (file.isEmpty()) return std::nullopt;
    QSettings ini(path, QSettings::IniFormat);
    for (const TRememberedView& entry : ReadViews(ini))
        if (entry.File == file && entry.Model == model) return entry.View;
    return std::nullopt;
}

void WriteModelView(const QString& path, const QString& file, const QString& model, const TModelView& view) {
    if (file.isEmpty()) return;
    QSettings ini(path, QSettings::IniFormat);
    std::vector<TRememberedView> views = ReadViews(ini);
    std::erase_if(views, [&](const TRememberedView& entry) { return entry.File == file && entry.Model == model; });
    views.insert(views.begin(), {file, model, view});
    if (views.size() > kRememberedViews) views.resize(kRememberedViews);
    ini.remove(kViews);
    ini.beginWriteArray(kViews, static_cast<int>(views.size()));
    for (int i = 0; i < static_cast<int>(views.size()); ++i) {
        const TRememberedView& entry = views[static_cast<std::size_t>(i)];
        ini.setArrayIndex(i);
        ini.setValue("File", entry.File);
        ini.setValue("Model", entry.Model);
        ini.setValue("Zoom", RealText(entry.View.Zoom));
        ini.setValue("PanX", RealText(entry.View.PanX));
        ini.setValue("PanY", RealText(entry.View.PanY));
        ini.setValue("PanZ", RealText(entry.View.PanZ));
        ini.setValue("kx", RealText(entry.View.KX));
        ini.setValue("ky", RealText(entry.View.KY));
        ini.setValue("r", RealText(entry.View.R));
    }
    ini.endArray();
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
