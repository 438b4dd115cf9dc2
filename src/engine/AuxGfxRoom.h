#pragma once
// A room that also holds a second image sheet from the library while entered.

#include "engine/Room.h"

#include <string>

class TImageNode;
class TZQ5ImageData;

class TAuxGfxRoom : public TRoom {
public:
    TAuxGfxRoom(const std::string& id, const std::string& auxImageName);
    ~TAuxGfxRoom() override;

    // Acquires the sheet (flipped top to bottom with rfFlipPicture).
    void Enter(const std::string& previousID) override;
    // Releases the sheet.
    void Leave() override;

protected:
    void ReleaseAux();

    std::string AuxImageName;
    TImageNode* AuxImage = nullptr;
    TZQ5ImageData* AuxSurface = nullptr;
};
