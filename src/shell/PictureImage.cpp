#include "shell/PictureImage.h"

#include "activity/ObjectTable.h"
#include "activity/VorelDrawing.h"
#include "activity/VorelRoom.h"
#include "engine/World.h"
#include "foundation/ByteStream.h"
#include "foundation/KelException.h"
#include "image/HotImage.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"
#include "shell/ImageTarget.h"

namespace {
constexpr uint32_t Paper = 0xFFFFFFFFu;

// A detached copy through the picture's own record, which carries the
// colours but not the selection.
std::unique_ptr<TVorelDrawing> CopyOf(const TVorelDrawing& picture) {
    MemoryStream record;
    picture.SaveToStream(record);
    record.Seek(0);
    auto copy = std::make_unique<TVorelDrawing>();
    copy->LoadFromStream(record);
    return copy;
}

void BlankEveryRegion(TVorelDrawing& picture) {
    for (int number = picture.ObjectCount(); number >= 0; --number)
        picture.RemoveColouring(number);
}
} // namespace

QImage PictureImage(const TVorelDrawing& picture, PictureForm form, const RgbPalette& palette) {
    std::unique_ptr<TVorelDrawing> copy = CopyOf(picture);
    RgbPalette colours = palette;
    if (form == PictureForm::ColouringPage) {
        BlankEveryRegion(*copy);
        // The blank background's tint would only use up ink: paper stays white.
        colours[BlankBackgroundColour] = Paper;
        colours[BlankObjectColour] = Paper;
    }
    std::unique_ptr<THotImage> canvas = THotImage::CreateBlank(PictureWidth, PictureHeight);
    TZQ5ImageData& surface = canvas->ImageData();
    copy->Attach(&surface, {0, 0});
    copy->DrawAll();
    copy->Attach(nullptr, {0, 0});

    ImageTarget target(PictureWidth, PictureHeight);
    target.SelectPalette(&colours);
    surface.AddDamage(surface.BoundsRect());
    surface.DisplayDamage(target, {0, 0});
    return target.Image();
}

QImage PictureOfWorld(TWorld& world, int number, PictureForm form) {
    const std::string name = "VOREL" + std::to_string(number);
    auto* room = dynamic_cast<TVorelRoom*>(world.FindRoom(name));
    if (!room || !world.Library())
        throw KelException("There is no picture \"" + name + "\" to print or save");
    return PictureImage(room->Picture(), form, world.Library()->GetHPal());
}
