#include "view3d/ViewModesSettings.h"

#include <QSettings>

namespace zandrel::view3d {

namespace {
const char* const kRelief = "View/Relief";
const char* const kGrid = "View/Grid";
const char* const kContours = "View/Contours";
const char* const kTint = "View/Tint";
}  // namespace

ViewModes ViewModesSettings::Load() {
    const QSettings settings;
    ViewModes modes;
    modes.relief = settings.value(kRelief, false).toBool();
    modes.grid = settings.value(kGrid, false).toBool();
    modes.contours = settings.value(kContours, false).toBool();
    bool ok = false;
    const int tint = settings.value(kTint, 0).toInt(&ok);
    if (ok && tint >= static_cast<int>(TintMode::Off) &&
        tint <= static_cast<int>(TintMode::Friction)) {
        modes.tint = static_cast<TintMode>(tint);
    }
    return modes;
}

void ViewModesSettings::Save(const ViewModes& modes) {
    QSettings settings;
    settings.setValue(kRelief, modes.relief);
    settings.setValue(kGrid, modes.grid);
    settings.setValue(kContours, modes.contours);
    settings.setValue(kTint, static_cast<int>(modes.tint));
}

}  // namespace zandrel::view3d
