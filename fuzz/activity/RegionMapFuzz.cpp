// Feeds arbitrary bytes to the region map reader: the first 3390 bytes are the
// map, the rest a colouring picture's record, loaded with that map over the
// shipped library and drawn.

#include "../FuzzMain.h"
#include "activity/ObjectTable.h"
#include "activity/RegionMap.h"
#include "activity/VorelDrawing.h"
#include "foundation/ByteStream.h"
#include "foundation/KelException.h"
#include "image/HotImage.h"
#include "image/ZQ5ImageData.h"
#include "support/ShippedWorld.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ShippedLibrary();
    std::vector<uint8_t> bytes(data, data + size);
    std::unique_ptr<TRegionMap> map;
    try {
        map = TRegionMap::Parse(bytes, "fuzz");
    } catch (const KelException&) {
        return 0;
    }
    for (uint8_t i = 0; i < MapIndexCount; ++i)
        map->GetEntry(i);
    TVorelDrawing drawing(std::move(map));
    std::unique_ptr<THotImage> canvas = THotImage::CreateBlank(PictureWidth, PictureHeight);
    try {
        if (size > RegionMapFileSize) {
            MemoryStream picture(std::vector<uint8_t>(bytes.begin() + RegionMapFileSize, bytes.end()));
            drawing.LoadFromStream(picture);
        }
        drawing.Attach(&canvas->ImageData(), {0, 0});
        drawing.DrawAll();
    } catch (const KelException&) {
        // A refused picture record.
    }
    drawing.Attach(nullptr, {0, 0});
    return 0;
}
