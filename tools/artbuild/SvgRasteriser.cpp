#include "SvgRasteriser.h"

#include "ArtError.h"

#include <QProcess>

SvgRasteriser::SvgRasteriser(std::string stylesheet, std::string program)
    : Stylesheet(std::move(stylesheet)), Program(std::move(program)) {}

QImage SvgRasteriser::Render(const std::string& svgPath, int width, int height) const {
    QProcess process;
    process.start(QString::fromStdString(Program),
                  {"-s", QString::fromStdString(Stylesheet), "-w", QString::number(width), "-h",
                   QString::number(height), "-f", "png", QString::fromStdString(svgPath)});
    if (!process.waitForStarted(10000))
        throw ArtError(svgPath + ": cannot run " + Program + " (install librsvg2-bin)");
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        throw ArtError(svgPath + ": " + Program +
                       " failed: " + process.readAllStandardError().trimmed().toStdString());
    QImage image;
    if (!image.loadFromData(process.readAllStandardOutput(), "PNG"))
        throw ArtError(svgPath + ": " + Program + " gave no picture");
    if (image.width() != width || image.height() != height)
        throw ArtError(svgPath + ": rendered " + std::to_string(image.width()) + "x" +
                       std::to_string(image.height()) + ", expected " + std::to_string(width) + "x" +
                       std::to_string(height));
    return image;
}
