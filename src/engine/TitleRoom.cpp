#include "engine/TitleRoom.h"

#include "engine/EngineHub.h"
#include "image/HotImage.h"
#include "image/ZQ5ImageData.h"
#include "platform/MainWindowServices.h"
#include "platform/Platform.h"

namespace {
constexpr uint8_t FirstStepDelay = 13;
constexpr int32_t FirstStepAfter = 40;
constexpr int32_t WaitWhileBusy = 2;
constexpr int32_t WaitWhileInactive = 40;
constexpr int32_t GoAfter = 300;
constexpr uint8_t LastStep = 11;
} // namespace

TTitleRoom::TTitleRoom(const std::string& id) : TRoom(id) {}

TTitleRoom::~TTitleRoom() {
    ReleaseResources(true);
}

void TTitleRoom::Enter(const std::string& previousID) {
    TRoom::Enter(previousID);
    Logo = THotImage::CreateFromLibrary("vimo", false, *Engine()->Library());
    uint16_t frame = 0;
    if (Step != 0) {
        Step = LastStep;
        frame = 1;
    } else {
        StepDelay = FirstStepDelay;
        AddTimer(tsTimer, FirstStepAfter);
    }
    for (const char* id : {"VIMO", "QUILO", "VOREL"}) {
        TFrameSet& frameSet = FrameSets.Find(id);
        if (frame < frameSet.FrameCount) frameSet.Frame = frame;
    }
}

void TTitleRoom::DrawContents(TZQ5ImageData& screen) {
    TRoom::DrawContents(screen);
    DrawLogo(screen);
}

void TTitleRoom::DrawLogo(TZQ5ImageData& screen) {
    if (Step == 0 || !Logo) return;
    TZQ5ImageData& logo = Logo->ImageData();
    screen.FillRect(RectAtPt(logo.BoundsRect(), LogoPoint), screen.GetPixel(LogoPoint));
    if (Step < LastStep)
        screen.DitherFrom(LogoPoint, logo, logo.BoundsRect(), static_cast<uint8_t>(12 - Step));
    else
        screen.CopyFrom(LogoPoint, logo, logo.BoundsRect());
}

void TTitleRoom::RunScript(const std::string& script, const std::string& argument) {
    if (argument == "TIMER") {
        bool active = Engine()->MainWindow().IsMainWindowActive();
        if (active && Engine()->HasFlag(wfIdle)) {
            Engine()->SetFlag(wfIdle, false);
            AdvanceStep();
        } else {
            AddTimer(tsTimer, active ? WaitWhileBusy : WaitWhileInactive);
        }
    } else if (argument == "DELAY" || script == "START") {
        Engine()->MainWindow().HighlightThumbnail(1, true);
        Engine()->GoRoom("VOREL1");
    } else {
        TRoom::RunScript(script, argument);
    }
}

void TTitleRoom::AdvanceStep() {
    ++Step;
    TZQ5ImageData* screen = Engine()->Screen();
    const char* word = Step == 5 ? "VIMO" : Step == 8 ? "VOREL" : Step == LastStep ? "QUILO" : nullptr;
    if (word) FrameSets.Find(word).SetFrame(screen, 1);
    if (screen) DrawLogo(*screen);
    if (Step < LastStep) {
        AddTimer(tsTimer, StepDelay);
    } else {
        AddTimer(tsDelay, GoAfter);
        Engine()->GetPlatform().PlaySound(SoundCue::TitleArrival);
    }
    --StepDelay;
}

void TTitleRoom::ReleaseResources(bool destroying) {
    Logo.reset();
    TRoom::ReleaseResources(destroying);
}
