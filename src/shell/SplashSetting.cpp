#include "shell/SplashSetting.h"

#include <QSettings>

bool ShowSplash = true;

namespace {
constexpr const char* Key = "SplashScreen";
constexpr const char* Organisation = "KEL! Software";
constexpr const char* Application = "Vorel";
} // namespace

void ReadSplashSetting() {
    ShowSplash = true;
    QSettings settings(Organisation, Application);
    QVariant value = settings.value(Key);
    if (value.isValid() && value.canConvert<bool>()) ShowSplash = value.toBool();
}

void WriteSplashSetting() {
    QSettings settings(Organisation, Application);
    settings.setValue(Key, ShowSplash);
    settings.sync();
}
