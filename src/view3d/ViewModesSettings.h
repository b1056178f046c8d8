#pragma once

#include "view3d/ViewModes.h"

namespace zandrel::view3d {

// The view modes last chosen, kept in the application's settings: a new view starts with them.
class ViewModesSettings {
public:
    // The stored modes; off for anything missing or not understood.
    static ViewModes Load();
    static void Save(const ViewModes& modes);
};

}  // namespace zandrel::view3d
