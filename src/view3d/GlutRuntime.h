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
    // The view's wire sphere: glut's, started when its first sphere is wanted rather than with
    // every view, as its start-up is a cost of the first frame; our own where no display lets
    // glut start (its geometry would exit the process).
    static void WireSphere(double radius, int slices, int stacks);
};

}  // namespace zandrel::view3d
