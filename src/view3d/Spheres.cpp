#include "view3d/Spheres.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

namespace zandrel::view3d {

namespace {

void SphereVertex(float cx, float cy, float cz, double radius, double ex, double ey, double ez,
                  double s, double t) {
    glNormal3f(static_cast<float>(ex), static_cast<float>(ey), static_cast<float>(ez));
    glTexCoord2f(static_cast<float>(s), static_cast<float>(t));
    glVertex3f(static_cast<float>(cx + radius * ex), static_cast<float>(cy + radius * ey),
               static_cast<float>(cz + radius * ez));
}

}  // namespace

void DrawTexturedSphere(float cx, float cy, float cz, double radius, int divisions) {
    const double r = radius < 0.0 ? -radius : radius;
    const int n = divisions < 0 ? -divisions : divisions;
    if (n < 4 || r <= 0.0) {
        glBegin(GL_POINTS);
        glVertex3f(cx, cy, cz);
        glEnd();
        return;
    }
    constexpr double kPi = std::numbers::pi;
    for (int j = 0; j < n / 2; ++j) {
        const double a1 = j * 2.0 * kPi / n - kPi / 2.0;
        const double a2 = (j + 1) * 2.0 * kPi / n - kPi / 2.0;
        glBegin(GL_QUAD_STRIP);
        for (int i = 0; i <= n; ++i) {
            const double a3 = i * 2.0 * kPi / n;
            const double s = static_cast<double>(i) / n;
            SphereVertex(cx, cy, cz, r, std::cos(a2) * std::cos(a3), std::sin(a2),
                         std::cos(a2) * std::sin(a3), s, 2.0 * (j + 1) / n);
            SphereVertex(cx, cy, cz, r, std::cos(a1) * std::cos(a3), std::sin(a1),
                         std::cos(a1) * std::sin(a3), s, 2.0 * j / n);
        }
        glEnd();
    }
}

void DrawWireSphere(double radius, int slices, int stacks) {
    if (slices < 1 || stacks < 1) {
        return;
    }
    constexpr double kPi = std::numbers::pi;
    // Rings of latitude, poles excluded.
    for (int k = 1; k < stacks; ++k) {
        const double polar = kPi * k / stacks;
        const double z = std::cos(polar) * radius;
        const double ringRadius = std::sin(polar) * radius;
        glBegin(GL_LINE_LOOP);
        for (int i = 0; i < slices; ++i) {
            const double a = 2.0 * kPi * i / slices;
            glVertex3d(std::cos(a) * ringRadius, std::sin(a) * ringRadius, z);
        }
        glEnd();
    }
    // Meridians from pole to pole.
    for (int i = 0; i < slices; ++i) {
        const double a = 2.0 * kPi * i / slices;
        glBegin(GL_LINE_STRIP);
        for (int k = 0; k <= stacks; ++k) {
            const double polar = kPi * k / stacks;
            glVertex3d(std::cos(a) * std::sin(polar) * radius,
                       std::sin(a) * std::sin(polar) * radius, std::cos(polar) * radius);
        }
        glEnd();
    }
}

}  // namespace zandrel::view3d
