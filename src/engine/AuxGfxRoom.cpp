#include "engine/AuxGfxRoom.h"

#include "engine/EngineHub.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"

TAuxGfxRoom::TAuxGfxRoom(const std::string& id, const std::string& auxImageName)
    : TRoom(id), AuxImageName(auxImageName) {}

void TAuxGfxRoom::Enter(const std::string& previousID) {
    TRoom::Enter(previousID);
    if (Aux) return;
    Aux = TLibraryImage::Take(*Engine()->Library(), AuxImageName);
    TZQ5ImageData& surface = Aux.Surface();
    if (HasFlag(rfFlipPicture)) surface.MirrorVertical = true;
}

void TAuxGfxRoom::Leave() {
    TRoom::Leave();
    Aux.Reset();
}
