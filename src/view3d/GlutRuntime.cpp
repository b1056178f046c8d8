#include "view3d/GlutRuntime.h"

#include <GL/freeglut.h>
#include <X11/Xlib.h>

#include "view3d/Spheres.h"

namespace zandrel::view3d {

bool GlutRuntime::IsInitialised() {
    return glutGet(GLUT_INIT_STATE) != 0;
}

bool GlutRuntime::EnsureInitialised() {
    if (IsInitialised()) {
        return true;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    XCloseDisplay(display);
    // A private argv, so glut consumes none of the program's own options.
    char programName[] = "zandrelEditor";
    char* argv[] = {programName, nullptr};
    int argc = 1;
    glutInit(&argc, argv);
    return IsInitialised();
}

void GlutRuntime::WireSphere(double radius, int slices, int stacks) {
    if (EnsureInitialised()) {
        glutWireSphere(radius, slices, stacks);
    } else {
        DrawWireSphere(radius, slices, stacks);
    }
}

}  // namespace zandrel::view3d
