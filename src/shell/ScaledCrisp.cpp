#include "shell/ScaledCrisp.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

QImage ScaledCrisp(const QImage& image, int scale) {
    if (scale <= 1) return image;
    return image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

namespace {
// Source lines enlarged per band: a few tens of kilobytes at scale 2.
constexpr int BandSourceLines = 8;

// Qt hands an image of 96 lines or more, drawn through a clip of several
// rectangles (a widget with others in front of it), to helper threads that
// cost more to start than the copy itself.
constexpr int CopyLines = 64;

// Each pixel written scale times; the usual scales with a fixed count, which
// the compiler unrolls.
template <int Scale> void Repeat(const uint32_t* from, int width, uint32_t* to) {
    for (int x = 0; x < width; ++x)
        for (int k = 0; k < Scale; ++k)
            to[x * Scale + k] = from[x];
}

// One source line as scale lines of blocks, from the band's line first.
void EnlargeLine(const uint32_t* from, int width, int scale, QImage& band, int firstLine) {
    auto* to = reinterpret_cast<uint32_t*>(band.scanLine(firstLine));
    if (scale == 2)
        Repeat<2>(from, width, to);
    else if (scale == 3)
        Repeat<3>(from, width, to);
    else
        for (int x = 0; x < width; ++x)
            std::fill_n(to + x * scale, scale, from[x]);
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(scale) * sizeof(uint32_t);
    for (int k = 1; k < scale; ++k)
        std::memcpy(band.scanLine(firstLine + k), to, bytes);
}
} // namespace

void DrawCopied(QPainter& painter, QPoint to, const QImage& image, const QRect& source) {
    const QRect part = source.intersected(image.rect());
    const QPoint origin = to + (part.topLeft() - source.topLeft());
    for (int top = part.top(); top <= part.bottom(); top += CopyLines)
        painter.drawImage(
            origin + QPoint(0, top - part.top()), image,
            QRect(part.left(), top, part.width(), std::min(CopyLines, part.bottom() + 1 - top)));
}

void DrawScaledCrisp(QPainter& painter, QPoint to, const QImage& image, const QRect& source, int scale) {
    if (scale <= 1) {
        DrawCopied(painter, to, image, source);
        return;
    }
    const QRect part = source.intersected(image.rect());
    if (part.isEmpty()) return;
    const QPoint origin = to + (part.topLeft() - source.topLeft()) * scale;
    // One band for every view: paints come one at a time, on this thread.
    static QImage band;
    const QSize bandSize(part.width() * scale, BandSourceLines * scale);
    if (band.width() < bandSize.width() || band.height() < bandSize.height() || band.format() != image.format())
        band = QImage(bandSize.expandedTo(band.size()), image.format());
    for (int top = part.top(); top <= part.bottom(); top += BandSourceLines) {
        const int lines = std::min(BandSourceLines, part.bottom() + 1 - top);
        for (int i = 0; i < lines; ++i) {
            const auto* from = reinterpret_cast<const uint32_t*>(image.constScanLine(top + i)) + part.left();
            EnlargeLine(from, part.width(), scale, band, i * scale);
        }
        painter.drawImage(origin + QPoint(0, (top - part.top()) * scale), band,
                          QRect(0, 0, part.width() * scale, lines * scale));
    }
}
