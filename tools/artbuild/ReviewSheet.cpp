#include "ReviewSheet.h"

#include "Palette.h"

#include <QFont>
#include <QPainter>

namespace {
constexpr int SheetWidth = 2400;
constexpr int Gap = 12;
constexpr int Label = 18;

QImage Checkered(const QImage& image) {
    QImage out(image.size(), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            const QRgb back = ((x / 4 + y / 4) % 2) ? qRgb(200, 200, 200) : qRgb(150, 150, 150);
            out.setPixel(x, y, qAlpha(c) == 255 ? c : back);
        }
    return out;
}

QImage Shown(const IndexedImage& image, const Palette& palette) {
    QImage rgb = image.ToQImage(palette).convertToFormat(QImage::Format_ARGB32);
    if (image.Transparent >= 0)
        for (int y = 0; y < image.Height; ++y)
            for (int x = 0; x < image.Width; ++x)
                if (image.At(x, y) == image.Transparent) rgb.setPixel(x, y, 0);
    return rgb;
}
} // namespace

QImage MakeReviewSheet(const std::vector<IndexedImage>& images,
                       const std::vector<std::pair<std::string, QImage>>& extras, const Palette& palette) {
    std::vector<std::pair<std::string, QImage>> all;
    for (const IndexedImage& image : images)
        all.emplace_back(image.Name, Shown(image, palette));
    all.insert(all.end(), extras.begin(), extras.end());

    // Shelf layout: left to right, a new row when the sheet is full.
    std::vector<QPoint> at;
    int x = Gap, y = Gap, rowHeight = 0;
    for (const auto& [name, image] : all) {
        const int w = std::max(image.width() * 2, 90), h = image.height() * 2 + Label;
        if (x + w > SheetWidth && x > Gap) {
            x = Gap;
            y += rowHeight + Gap;
            rowHeight = 0;
        }
        at.emplace_back(x, y);
        x += w + Gap;
        rowHeight = std::max(rowHeight, h);
    }
    QImage sheet(SheetWidth, y + rowHeight + Gap, QImage::Format_RGB32);
    sheet.fill(qRgb(255, 255, 255));
    QPainter painter(&sheet);
    QFont font("Liberation Sans");
    font.setPixelSize(13);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const QImage& image = all[i].second;
        painter.drawText(at[i].x(), at[i].y() + 13, QString::fromStdString(all[i].first));
        painter.drawImage(QRect(at[i].x(), at[i].y() + Label, image.width() * 2, image.height() * 2),
                          Checkered(image));
    }
    return sheet;
}
