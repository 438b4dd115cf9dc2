#include "shell/SoundSetting.h"

#include <QSettings>

namespace {
constexpr const char* Key = "Sound";
constexpr const char* Organisation = "KEL! Software";
constexpr const char* Application = "Vorel";
} // namespace

bool ReadSoundSetting() {
    QSettings settings(Organisation, Application);
    QVariant value = settings.value(Key);
    if (value.isValid() && value.canConvert<bool>()) return value.toBool();
    return true;
}

void WriteSoundSetting(bool on) {
    QSettings settings(Organisation, Application);
    settings.setValue(Key, on);
    settings.sync();
}
