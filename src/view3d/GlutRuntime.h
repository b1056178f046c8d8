#pragma once

namespace zandrel::view3d {

// freeglut is used for one wire sphere, but its first geometry call exits the process unless
// glutInit ran, and glutInit itself exits when no X display can be opened. This initialises it
// only when a display answers, once per process.
class GlutRuntime {
public:
    // True when glut is ready for geometry calls.
    static bool EnsureInitialised();
    static bool IsInitialised();
};

}  // namespace zandrel::view3d
