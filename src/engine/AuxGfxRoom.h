#pragma once
// A room that also holds a second image sheet from the library while entered.

#include "engine/Room.h"
#include "image/LibraryImage.h"

#include <string>

class TZQ5ImageData;

class TAuxGfxRoom : public TRoom {
public:
    TAuxGfxRoom(const std::string& id, const std::string& auxImageName);

    // Acquires the sheet (flipped top to bottom with rfFlipPicture).
    void Enter(const std::string& previousID) override;
    // Releases the sheet.
    void Leave() override;

protected:
    // The sheet's surface while the room is entered, else nullptr.
    TZQ5ImageData* AuxSurface() const { return Aux.TakenSurface(); }

    std::string AuxImageName;

private:
    TLibraryImage Aux;
};
