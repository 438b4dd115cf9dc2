#include "shell/SplashSetting.h"

#include "shell/ProgramSettings.h"

bool ShowSplash = true;

void ReadSplashSetting() {
    ShowSplash = ReadBoolSetting("SplashScreen", true);
}

void WriteSplashSetting() {
    WriteBoolSetting("SplashScreen", ShowSplash);
}
