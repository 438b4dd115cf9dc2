#include "engine/AuxGfxRoom.h"

#include "engine/World.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"

TAuxGfxRoom::TAuxGfxRoom(const std::string& id, const std::string& auxImageName)
    : TRoom(id), AuxImageName(auxImageName) {}

TAuxGfxRoom::~TAuxGfxRoom() {
    ReleaseAux();
}

void TAuxGfxRoom::Enter(const std::string& previousID) {
    TRoom::Enter(previousID);
    if (AuxImage) return;
    TZQ5Library& library = *World->Library();
    AuxImage = library.GetImage(AuxImageName);
    AuxSurface = library.GetImageData(AuxImage);
    if (AuxSurface && HasFlag(rfFlipPicture)) AuxSurface->MirrorVertical = true;
}

void TAuxGfxRoom::Leave() {
    TRoom::Leave();
    ReleaseAux();
}

void TAuxGfxRoom::ReleaseAux() {
    TZQ5Library* library = World ? World->Library() : nullptr;
    if (AuxImage && library) {
        if (AuxSurface) library->ReleaseImageData(AuxImage);
        library->ReleaseImage(AuxImage);
    }
    AuxImage = nullptr;
    AuxSurface = nullptr;
}
