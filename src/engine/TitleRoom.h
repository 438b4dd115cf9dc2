#pragma once
// The animated title: after 40 ticks the logo "vimo" fades in over eleven
// steps while the frame sets "VIMO", "VOREL" and "QUILO" show their words;
// 300 ticks later (or on "START") the game goes to VOREL1. Only the first
// entry animates; later entries show the finished title.

#include "engine/Room.h"

#include <cstdint>
#include <memory>
#include <string>

class THotImage;

class TTitleRoom : public TRoom {
public:
    static constexpr TPoint LogoPoint{185, 15};

    explicit TTitleRoom(const std::string& id);
    ~TTitleRoom() override;

    void Enter(const std::string& previousID) override;
    void RunScript(const std::string& script, const std::string& argument) override;
    void DrawContents(TZQ5ImageData& screen) override;
    void ReleaseResources(bool destroying) override;
    std::string KindName() const override { return "TITLE"; }

    uint8_t GetStep() const { return Step; }
    uint8_t GetStepDelay() const { return StepDelay; }

private:
    void DrawLogo(TZQ5ImageData& screen);
    void AdvanceStep();

    std::unique_ptr<THotImage> Logo;
    uint8_t StepDelay = 0;
    uint8_t Step = 0;
};
