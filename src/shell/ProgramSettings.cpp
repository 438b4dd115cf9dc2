#include "shell/ProgramSettings.h"

#include <QSettings>

namespace {
constexpr const char* Organisation = "KEL! Software";
constexpr const char* Application = "Vorel";

bool AsBool(const QVariant& value, bool fallback) {
    return value.isValid() && value.canConvert<bool>() ? value.toBool() : fallback;
}
} // namespace

bool ReadBoolSetting(const char* key, bool fallback) {
    QSettings settings(Organisation, Application);
    return AsBool(settings.value(key), fallback);
}

void WriteBoolSetting(const char* key, bool value) {
    QSettings settings(Organisation, Application);
    const QVariant stored = settings.value(key);
    if (stored.isValid() && AsBool(stored, !value) == value) return;
    settings.setAtomicSyncRequired(true);
    settings.setValue(key, value);
    settings.sync();
}
