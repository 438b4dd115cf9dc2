#include "shell/SoundSetting.h"

#include "shell/ProgramSettings.h"

bool ReadSoundSetting() {
    return ReadBoolSetting("Sound", true);
}

void WriteSoundSetting(bool on) {
    WriteBoolSetting("Sound", on);
}
