#include "shell/TileBG.h"

#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"
#include "image/ZQ5Tile.h"
#include "shell/BlockLayout.h"
#include "shell/EventBoundary.h"
#include "shell/QtConvert.h"
#include "shell/ScaledCrisp.h"

#include <QPaintEvent>
#include <QPainter>

namespace {
TZQ5Library* GlobalLibrary = nullptr;
}

TTileBG::TTileBG(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (parent) setGeometry(parent->rect());
}

TTileBG::~TTileBG() {
    ReleaseTile();
    if (Library) Library->RemoveReference(&Library);
}

void TTileBG::SetGlobalImageLibrary(TZQ5Library* library) {
    if (library == GlobalLibrary) return;
    if (GlobalLibrary) GlobalLibrary->RemoveReference(&GlobalLibrary);
    GlobalLibrary = library;
    if (GlobalLibrary) GlobalLibrary->AddReference(&GlobalLibrary);
}

void TTileBG::SetImageName(const std::string& name) {
    ReleaseTile();
    Name = name.substr(0, 8);
    if (!Library || !Library->ImageExists(Name)) return;
    Tile = TLibraryImage::TakeWithSurface(*Library, Name);
    update();
}

void TTileBG::SetLibrary(TZQ5Library* library) {
    if (Library) {
        Library->RemoveReference(&Library);
        ReleaseTile();
    }
    Library = library;
    if (Library) {
        Library->AddReference(&Library);
        SetImageName(Name);
    }
}

TZQ5Library* TTileBG::GetLibrary() {
    if (!Library) SetLibrary(GlobalLibrary);
    return Library;
}

TZQ5ImageData* TTileBG::GetTile() {
    if (!Tile.TakenSurface()) SetImageName(Name);
    return Tile.TakenSurface();
}

void TTileBG::SetScale(int scale) {
    ViewScale = std::max(1, scale);
    update();
}

void TTileBG::ReleaseTile() {
    Tile.Reset();
    Shown.reset();
    ScaledTile = QImage();
}

const QImage* TTileBG::TileImage() {
    if (!GetLibrary() || !GetTile()) return nullptr;
    if (!Shown) {
        const TZQ5ImageData& surface = *Tile.TakenSurface();
        auto shown = std::make_unique<ImageTarget>(surface.Width, surface.Height);
        {
            const auto palette = shown->ShowThrough(&Library->GetHPal());
            Library->DrawImage(*shown, {0, 0}, Tile.Node());
        }
        Shown = std::move(shown);
        ScaledTile = QImage();
    }
    // Enlarged once, so that every tile is only copied.
    if (ScaledTile.isNull() || ScaledTile.width() != Shown->Image().width() * ViewScale)
        ScaledTile = ScaledCrisp(Shown->Image(), ViewScale);
    return &ScaledTile;
}

void TTileBG::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QImage* tile = nullptr;
    Guarded([&] { tile = TileImage(); });
    LastTiles = 0;
    if (!tile) {
        painter.fillRect(event->rect(), Qt::white);
        painter.fillRect(event->rect(), QBrush(Qt::black, Qt::DiagCrossPattern));
        return;
    }
    for (const TPoint& at : TilePositions(ToTRect(event->rect()), tile->width(), tile->height())) {
        DrawCopied(painter, QPoint(at.X, at.Y), *tile, tile->rect());
        ++LastTiles;
    }
}

uint16_t RealizeLibraryPalette(QWidget& form, TZQ5Library* library) {
    (void)form;
    (void)library;
    return 0;
}
