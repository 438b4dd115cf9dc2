#pragma once
// The tiled backdrop: covers its parent and paints a named library image
// tiled over it through the library's palette, the grid anchored at its own
// top-left corner, at the window's whole-number scale. Without a library or
// a tile it paints black diagonal cross-hatching.

#include "image/LibraryImage.h"
#include "shell/ImageTarget.h"

#include <QImage>
#include <QWidget>

#include <memory>
#include <string>

class TImageNode;
class TZQ5ImageData;
class TZQ5Library;

class TTileBG : public QWidget {
public:
    explicit TTileBG(QWidget* parent);
    ~TTileBG() override;

    // The class-wide library, used by every backdrop without its own.
    static void SetGlobalImageLibrary(TZQ5Library* library);

    const std::string& ImageName() const { return Name; }
    void SetImageName(const std::string& name);
    void SetLibrary(TZQ5Library* library);
    TZQ5Library* GetLibrary();
    TZQ5ImageData* GetTile();
    void SetScale(int scale);
    // Tiles drawn by the last paint (for tests).
    int TilesPainted() const { return LastTiles; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ReleaseTile();
    const QImage* TileImage();

    std::string Name;
    TZQ5Library* Library = nullptr;
    TLibraryImage Tile;
    std::unique_ptr<ImageTarget> Shown; // the tile through the palette
    QImage ScaledTile;                  // Shown at the view's scale
    int ViewScale = 1;
    int LastTiles = 0;
};

// Makes the library's palette the one shown; on a true-colour display no
// mapping changes, so it repaints nothing and returns 0, as it does without
// a library or palette.
uint16_t RealizeLibraryPalette(QWidget& form, TZQ5Library* library);
