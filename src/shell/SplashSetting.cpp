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
    // Every write risks the file on a full disk, so an unchanged value is not
    // written at all; a changed one goes through a new file renamed over the
    // old, never by rewriting the old file in place.
    QVariant stored = settings.value(Key);
    if (stored.isValid() && stored.canConvert<bool>() && stored.toBool() == ShowSplash) return;
    settings.setAtomicSyncRequired(true);
    settings.setValue(Key, ShowSplash);
    settings.sync();
}
