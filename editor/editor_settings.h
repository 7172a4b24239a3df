#pragma once
// The view settings file "bbxedit.ini": the list width and the preview's
// view values. Any error reading or writing it is ignored; a value that
// cannot be read, is no finite number or is out of range takes its default.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "core/render_canvas.h"

namespace editor {

// What the settings file may hold; a value beyond these takes its default.
inline constexpr std::int32_t kMinListWidth = 20;
inline constexpr std::int32_t kMaxListWidth = 4000;
inline constexpr std::int32_t kMaxPreviewSide = 65536;
inline constexpr std::int32_t kMaxPreviewZoom = 256;

struct TEditorSettings {
    std::int32_t ListWidth = 200;
    float KX = 0;
    float KY = 0;
    float R = 127;
    std::int32_t Szer = 32;
    std::int32_t Wys = 32;
    std::int32_t Zoom = 4;
    bbx::TColor Background = 0;
};

TEditorSettings ReadSettings(const QString& path);
void WriteSettings(const QString& path, const TEditorSettings& settings);

// The files opened or saved last, newest first, at most kRecentFiles
// ("Recent", "File1" ...), and the main window's place and size ("Window",
// "Geometry"), in the same file.
inline constexpr int kRecentFiles = 8;
QStringList ReadRecentFiles(const QString& path);
void WriteRecentFiles(const QString& path, const QStringList& files);
QByteArray ReadWindowGeometry(const QString& path);
void WriteWindowGeometry(const QString& path, const QByteArray& geometry);

// Whether the editor opens the latest recent file when it starts without a
// file to open ("Recent", "ReopenLast"; off unless set).
bool ReadReopenLast(const QString& path);
void WriteReopenLast(const QString& path, bool reopen);

// How an editing window showed its model: the flat views' zoom and pans and
// the perspective view's angles and scale, as a new window starts.
struct TModelView {
    float Zoom = 1;
    float PanX = 0;
    float PanY = 0;
    float PanZ = 0;
    float KX = 0;
    float KY = 0;
    float R = 1250;
};

// What a remembered view may hold; a value beyond these takes its default.
inline constexpr float kMaxViewZoom = 10000;
inline constexpr float kMaxViewPan = 1e7f;
inline constexpr int kRememberedViews = 64;

// The views are kept per model of a file ("ModelViews"), the model known by
// its ID and name within the file's absolute path; the latest kRememberedViews
// are kept. Nothing is remembered for a file without a name.
std::optional<TModelView> ReadModelView(const QString& path, const QString& file, const QString& model);
void WriteModelView(const QString& path, const QString& file, const QString& model, const TModelView& view);

// "bbxedit.ini" in the program's folder when it can be written there,
// otherwise in the user's configuration folder, so that an installed program
// keeps its settings too.
QString SettingsFilePath(const QString& programDirectory, const QString& userConfigDirectory);
QString DefaultSettingsFilePath();

}  // namespace editor
