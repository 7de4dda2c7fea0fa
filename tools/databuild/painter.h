#pragma once
#include <cstdint>
#include <vector>

#include "canvas.h"
#include "palette_design.h"

namespace zoa::databuild {

struct Vec2 {
    float x = 0;
    float y = 0;
};

// How a shape is coloured: a ramp, the base shade the lit-but-not-facing
// surface gets, and the outline. Round shapes are lit as bodies (sphere or
// cylinder normals), flat shapes get a bevel: their upper-left edges catch the
// light, their lower-right edges fall into shadow. Light comes from the upper left.
struct Material {
    Ramp ramp = kMetal;
    int base = 4;
    bool outline = true;
    bool shaded = true;
    uint8_t outlineColour = kOutline;
    float bevel = 1.6f;  // flat shapes: width of the lit / shadowed rim in pixels
};

inline Material Mat(Ramp ramp, int base = 4) {
    return Material{ramp, base};
}
inline Material Plain(Ramp ramp, int base) {
    Material m{ramp, base};
    m.shaded = false;
    m.outline = false;
    return m;
}
inline Material NoOutline(Material m) {
    m.outline = false;
    return m;
}

// Draws shaded, outlined shapes into a canvas. Coordinates are in design units,
// mapped to pixels as pixel = design * scale + offset, so the same drawing can
// be made at 1x for a sprite sheet and larger for the title picture. Each
// shape first lays its own 1-pixel outline and then its fill, so shapes drawn
// later sit in front of earlier ones with a dark line between them.
class Painter {
  public:
    explicit Painter(Canvas& canvas, float scale = 1.0f, float offsetX = 0.0f, float offsetY = 0.0f)
        : canvas_(canvas), scale_(scale), ox_(offsetX), oy_(offsetY) {}

    void Ellipse(float cx, float cy, float rx, float ry, const Material& m);
    void Circle(float cx, float cy, float r, const Material& m) { Ellipse(cx, cy, r, r, m); }
    // A limb: a capsule from a to b, radius ra at a and rb at b.
    void Limb(Vec2 a, Vec2 b, float ra, float rb, const Material& m);
    void Poly(const std::vector<Vec2>& points, const Material& m);
    void Box(float x0, float y0, float x1, float y1, const Material& m);
    // Single pixels and 1-pixel lines, no outline; coordinates in design units.
    void Dot(float x, float y, uint8_t c);
    void Line(Vec2 a, Vec2 b, uint8_t c);

    Canvas& Target() { return canvas_; }

  private:
    struct Sample {
        bool inside = false;
        float nx = 0, ny = 0, nz = 1;
    };
    template <class ShapeFn>
    void Fill(float x0, float y0, float x1, float y1, const Material& m, ShapeFn shape);

    Canvas& canvas_;
    float scale_;
    float ox_;
    float oy_;
};

// Shade offset (-2..+2) that a surface with normal n gets under the game's light.
int LightLevel(float nx, float ny, float nz);

}  // namespace zoa::databuild
