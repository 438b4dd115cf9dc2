#include "shell/PicturePrinter.h"

#include "shell/ScaledCrisp.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <stdexcept>

QRect PictureFitRect(QSize picture, const QRect& area) {
    QSize fitted = picture.scaled(area.size(), Qt::KeepAspectRatio);
    QPoint corner(area.left() + (area.width() - fitted.width()) / 2,
                  area.top() + (area.height() - fitted.height()) / 2);
    return QRect(corner, fitted);
}

namespace {
// Enough for about 300 dots per inch on a whole page; more only fattens the file.
constexpr int MaxBlock = 8;

void PrintPage(QPainter& painter, const QRect& area, const QImage& page) {
    QRect place = PictureFitRect(page.size(), area);
    // Enlarged by whole blocks first, so that whatever scales the last
    // fraction (printer driver, PDF viewer) can only soften block edges,
    // never mix the colours of neighbouring pixels across a whole pixel.
    int blocks = std::clamp(place.width() / std::max(1, page.width()), 1, MaxBlock);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(place, ScaledCrisp(page, blocks));
}
} // namespace

void PrintPictures(QPrinter& printer, const std::vector<QImage>& pages) {
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error(
            "Cannot start printing on \"" +
            (printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName())
                .toStdString() +
            "\"");
    const QRect area(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    bool first = true;
    for (const QImage& page : pages) {
        if (!first) printer.newPage();
        first = false;
        PrintPage(painter, area, page);
    }
    painter.end();
}

void PreparePrinter(QPrinter& printer, const QString& documentName) {
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(documentName);
}
