#pragma once
// Points and rectangles in pixels, 32-bit signed.
//
// Rectangles are half-open: Left and Top lie inside, Right and Bottom lie
// outside. A rectangle with Right <= Left or Bottom <= Top is empty. Hit boxes,
// damage, clipping and drawing all use this one convention.

#include <algorithm>
#include <cstdint>
#include <initializer_list>

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
    TPoint TopLeft() const { return {Left, Top}; }
};

inline TPoint PtAdd(TPoint p, TPoint q) {
    return {p.X + q.X, p.Y + q.Y};
}
inline TPoint PtSub(TPoint p, TPoint q) {
    return {p.X - q.X, p.Y - q.Y};
}
inline int32_t RectWidth(const TRect& r) {
    return r.Right - r.Left;
}
inline int32_t RectHeight(const TRect& r) {
    return r.Bottom - r.Top;
}
inline TRect RectAddPt(const TRect& r, TPoint p) {
    return {r.Left + p.X, r.Top + p.Y, r.Right + p.X, r.Bottom + p.Y};
}
inline TRect RectSubPt(const TRect& r, TPoint p) {
    return {r.Left - p.X, r.Top - p.Y, r.Right - p.X, r.Bottom - p.Y};
}
inline TRect RectAtPt(const TRect& r, TPoint p) {
    return {p.X, p.Y, p.X + RectWidth(r), p.Y + RectHeight(r)};
}
inline TRect MakeBounds(int32_t x, int32_t y, int32_t w, int32_t h) {
    return {x, y, x + w, y + h};
}

inline bool IsRectEmpty(const TRect& r) {
    return r.Right <= r.Left || r.Bottom <= r.Top;
}
inline bool PtInRect(const TRect& r, TPoint p) {
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

// The overlap of two rectangles; an empty overlap gives (0,0,0,0).
inline TRect IntersectRect(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    return IsRectEmpty(r) ? TRect{} : r;
}
inline bool RectsIntersect(const TRect& a, const TRect& b) {
    return !IsRectEmpty(IntersectRect(a, b));
}

// The smallest rectangle holding both; an empty one does not count.
inline TRect UnionRect(const TRect& a, const TRect& b) {
    if (IsRectEmpty(a)) return b;
    if (IsRectEmpty(b)) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

// Coordinates read from a file (a script's bounds, a saved game's points and
// rectangles) lie within this many pixels of the origin. The play area is 512
// by 320, so the bound is generous, and the sum or difference of two such
// values, or of one and an image size, never overflows.
constexpr int32_t FileCoordinateLimit = 32767;

inline bool CoordinatesInRange(std::initializer_list<int32_t> values) {
    return std::all_of(values.begin(), values.end(),
                       [](int32_t v) { return v >= -FileCoordinateLimit && v <= FileCoordinateLimit; });
}
