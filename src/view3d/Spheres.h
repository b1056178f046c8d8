#pragma once

namespace zandrel::view3d {

// Sphere of quad strips with normals and texture coordinates: s wraps once around, t runs from
// the bottom pole (0) to the top pole (1). A negative radius or count is taken as positive;
// fewer than 4 divisions or a zero radius draws a single point.
void DrawTexturedSphere(float cx, float cy, float cz, double radius, int divisions);

// Wire sphere at the origin in GL 1.1 line strips, with glut's slice/stack layout; used when
// glut could not be initialised.
void DrawWireSphere(double radius, int slices, int stacks);

}  // namespace zandrel::view3d
