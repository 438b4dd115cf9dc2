#include "ArtBuilder.h"

#include "ArtError.h"
#include "DerivedArt.h"
#include "ItemArt.h"
#include "LibraryRules.h"
#include "Manifest.h"
#include "Palette.h"
#include "RegionBudget.h"
#include "ReviewSheet.h"
#include "SvgRasteriser.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <fstream>
#include <iostream>
#include <sstream>

namespace {
std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ArtError(path + ": cannot be read");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        throw ArtError(path + ": cannot be written");
}

// Writes only when the content differs, so that a rebuild leaves file times alone.
void WriteIfChanged(const std::string& path, const std::string& bytes) {
    QFile old(QString::fromStdString(path));
    if (old.open(QIODevice::ReadOnly) && old.readAll() == QByteArray::fromStdString(bytes)) return;
    WriteBytes(path, bytes);
}

void SavePng(const QImage& image, const std::string& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) throw ArtError(path + ": cannot encode PNG");
    WriteIfChanged(path, bytes.toStdString());
}

void MakeDir(const std::string& path) {
    if (!QDir().mkpath(QString::fromStdString(path))) throw ArtError(path + ": cannot create folder");
}

void RunTool(const std::string& tool, const QStringList& args) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QString::fromStdString(tool), args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        throw ArtError(tool + " " + args.join(' ').toStdString() +
                       " failed: " + process.readAll().toStdString());
}
} // namespace

ArtBuilder::ArtBuilder(BuildPaths paths) : Paths(std::move(paths)) {}

void ArtBuilder::Run() {
    const std::string art = Paths.ArtDir;
    const std::string bin = Paths.BuildDir + "/bin";
    const std::string dat = bin + "/dat";
    const std::string out = Paths.BuildDir + "/art";
    const std::string pngs = out + "/library";
    for (const std::string& dir : {bin, dat, out, pngs})
        MakeDir(dir);

    const std::string palettePath = art + "/palette.txt";
    const Palette palette = Palette::FromText(ReadText(palettePath), palettePath);
    const SvgRasteriser rasteriser(art + "/crisp.css");

    const SvgRasteriser halfRasteriser(art + "/crisp-half.css");
    ItemArt items(art, palette, rasteriser, halfRasteriser);
    items.Build();
    std::vector<IndexedImage> library = items.Images();
    const SvgRasteriser flatRasteriser(art + "/crisp-flat.css");
    const DerivedArt derived(items, palette, flatRasteriser);
    library.push_back(derived.Icons());
    for (int bank = 1; bank <= 4; ++bank)
        library.push_back(derived.Faces(bank));

    std::vector<std::pair<std::string, QImage>> extras;
    std::string cursors;
    const std::string manifestPath = art + "/images.txt";
    for (const ManifestEntry& e : ParseManifest(ReadText(manifestPath), manifestPath)) {
        const QImage rendered = rasteriser.Render(art + "/" + e.File, e.Width, e.Height);
        if (e.What == ManifestEntry::Kind::Image) {
            library.push_back(palette.Map(rendered, e.Name, e.Transparent));
            continue;
        }
        // Cursors and program pictures keep their alpha, which crisp rendering makes all-or-nothing.
        const QImage argb = rendered.convertToFormat(QImage::Format_ARGB32);
        const std::string name = e.What == ManifestEntry::Kind::Cursor ? "cursor" + e.Name : e.Name;
        SavePng(argb, out + "/" + name + ".png");
        extras.emplace_back(name, argb);
        if (e.What == ManifestEntry::Kind::Cursor)
            cursors += e.Name + " " + std::to_string(e.HotX) + " " + std::to_string(e.HotY) + "\n";
    }
    WriteIfChanged(out + "/cursors.txt", cursors);

    const std::string script = ReadText(art + "/pyx_init.txt");
    rules::CheckLibrary(library);
    rules::CheckScript(library, script);

    const auto map = items.Map().Bytes();
    WriteIfChanged(dat + "/vorelmap.dat", std::string(map.begin(), map.end()));
    WriteIfChanged(dat + "/pyx_init.txt", script);

    QStringList packArgs{QString::fromStdString(bin + "/vorel.zq5"),
                         QString::fromStdString(art + "/palette.txt")};
    for (const IndexedImage& image : library) {
        const std::string path = pngs + "/" + image.Name + ".png";
        SavePng(image.ToQImage(palette), path);
        packArgs << "--name" << QString::fromStdString(image.Name);
        if (image.Transparent >= 0) packArgs << "--transparent" << QString::number(image.Transparent);
        packArgs << QString::fromStdString(path);
    }
    SavePng(MakeReviewSheet(library, extras, palette), out + "/review.png");

    RunTool(Paths.Tool, QStringList{"zq5", "pack"} + packArgs);
    RunTool(Paths.Tool, {"obf", "encode", QString::fromStdString(dat + "/pyx_init.txt"),
                         QString::fromStdString(dat + "/pyx_init.dat")});

    std::cout << "artbuild: " << library.size() << " images, " << items.Map().RegionCount() << " regions, "
              << "region map " << map.size() << " bytes; " << RegionBudgetReport(map);
}
