#include "painter.h"

#include <algorithm>
#include <cmath>

namespace zoa::databuild {

namespace {

constexpr float kLightX = -0.501f;
constexpr float kLightY = -0.602f;
constexpr float kLightZ = 0.622f;

float Clamp01(float v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

}  // namespace

int LightLevel(float nx, float ny, float nz) {
    const float i = nx * kLightX + ny * kLightY + nz * kLightZ;
    if (i > 0.93f) return 2;
    if (i > 0.72f) return 1;
    if (i > 0.22f) return 0;
    if (i > -0.3f) return -1;
    return -2;
}

template <class ShapeFn>
void Painter::Fill(float x0, float y0, float x1, float y1, const Material& m, ShapeFn shape) {
    const int px0 = static_cast<int>(std::floor(x0 * scale_ + ox_)) - 2;
    const int py0 = static_cast<int>(std::floor(y0 * scale_ + oy_)) - 2;
    const int px1 = static_cast<int>(std::ceil(x1 * scale_ + ox_)) + 2;
    const int py1 = static_cast<int>(std::ceil(y1 * scale_ + oy_)) + 2;
    const int w = px1 - px0 + 1;
    const int h = py1 - py0 + 1;
    if (w <= 0 || h <= 0) return;
    std::vector<Sample> samples(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float dx = (static_cast<float>(px0 + x) + 0.5f - ox_) / scale_;
            const float dy = (static_cast<float>(py0 + y) + 0.5f - oy_) / scale_;
            samples[static_cast<size_t>(y) * w + x] = shape(dx, dy);
        }
    }
    auto in = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && samples[static_cast<size_t>(y) * w + x].inside;
    };
    if (m.outline) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (!in(x, y) && (in(x - 1, y) || in(x + 1, y) || in(x, y - 1) || in(x, y + 1)))
                    canvas_.Set(px0 + x, py0 + y, m.outlineColour);
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Sample& s = samples[static_cast<size_t>(y) * w + x];
            if (!s.inside) continue;
            const int level = m.shaded ? m.base + LightLevel(s.nx, s.ny, s.nz) : m.base;
            canvas_.Set(px0 + x, py0 + y, Shade(m.ramp, level));
        }
    }
}

void Painter::Ellipse(float cx, float cy, float rx, float ry, const Material& m) {
    Fill(cx - rx, cy - ry, cx + rx, cy + ry, m, [&](float x, float y) {
        Sample s;
        const float nx = (x - cx) / rx;
        const float ny = (y - cy) / ry;
        const float d = nx * nx + ny * ny;
        if (d > 1.0f) return s;
        s.inside = true;
        s.nx = nx;
        s.ny = ny;
        s.nz = std::sqrt(Clamp01(1.0f - d));
        return s;
    });
}

void Painter::Limb(Vec2 a, Vec2 b, float ra, float rb, const Material& m) {
    const float r = std::max(ra, rb);
    Fill(std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r,
         std::max(a.y, b.y) + r, m, [&](float x, float y) {
             Sample s;
             const float vx = b.x - a.x, vy = b.y - a.y;
             const float len2 = vx * vx + vy * vy;
             float t = len2 > 0 ? ((x - a.x) * vx + (y - a.y) * vy) / len2 : 0.0f;
             t = Clamp01(t);
             const float qx = a.x + vx * t, qy = a.y + vy * t;
             const float rr = ra + (rb - ra) * t;
             const float dx = x - qx, dy = y - qy;
             const float d2 = dx * dx + dy * dy;
             if (d2 > rr * rr || rr <= 0) return s;
             s.inside = true;
             s.nx = dx / rr;
             s.ny = dy / rr;
             s.nz = std::sqrt(Clamp01(1.0f - d2 / (rr * rr)));
             return s;
         });
}

void Painter::Poly(const std::vector<Vec2>& pts, const Material& m) {
    if (pts.size() < 3) return;
    float x0 = pts[0].x, x1 = pts[0].x, y0 = pts[0].y, y1 = pts[0].y;
    float area = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        const Vec2& p = pts[i];
        const Vec2& q = pts[(i + 1) % pts.size()];
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
        area += p.x * q.y - q.x * p.y;
    }
    const float orient = area > 0 ? 1.0f : -1.0f;  // y grows downwards
    const float bevel = m.bevel / scale_;
    Fill(x0, y0, x1, y1, m, [&](float x, float y) {
        Sample s;
        bool inside = false;
        float best = 1e9f, bnx = 0, bny = 0;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const Vec2& p = pts[i];
            const Vec2& q = pts[j];
            if ((p.y > y) != (q.y > y) && x < (q.x - p.x) * (y - p.y) / (q.y - p.y) + p.x)
                inside = !inside;
            const float vx = p.x - q.x, vy = p.y - q.y;
            const float len2 = vx * vx + vy * vy;
            if (len2 <= 0) continue;
            const float t = Clamp01(((x - q.x) * vx + (y - q.y) * vy) / len2);
            const float dx = x - (q.x + vx * t), dy = y - (q.y + vy * t);
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d < best) {
                best = d;
                const float len = std::sqrt(len2);
                // Outward normal of edge q -> p.
                bnx = -vy / len * orient;
                bny = vx / len * orient;
            }
        }
        if (!inside) return s;
        s.inside = true;
        if (best < bevel) {
            s.nx = bnx * 0.7f;
            s.ny = bny * 0.7f;
            s.nz = 0.71f;
        }
        return s;
    });
}

void Painter::Box(float x0, float y0, float x1, float y1, const Material& m) {
    Poly({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, m);
}

void Painter::Dot(float x, float y, uint8_t c) {
    const int px = static_cast<int>(std::floor(x * scale_ + ox_));
    const int py = static_cast<int>(std::floor(y * scale_ + oy_));
    const int n = std::max(1, static_cast<int>(std::lround(scale_)));
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) canvas_.Set(px + i, py + j, c);
}

void Painter::Line(Vec2 a, Vec2 b, uint8_t c) {
    const float len = std::max(std::fabs(b.x - a.x), std::fabs(b.y - a.y)) * scale_;
    const int steps = std::max(1, static_cast<int>(std::ceil(len)));
    for (int i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(steps);
        Dot(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, c);
    }
}

}  // namespace zoa::databuild
