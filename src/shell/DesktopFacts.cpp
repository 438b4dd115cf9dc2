#include "shell/DesktopFacts.h"

#include "shell/QtConvert.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QStandardPaths>

std::optional<std::string> DesktopDataFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty()) return std::nullopt;
    return ToStdPath(folder);
}

std::string ExecutableFolder() {
    return ToStdPath(QCoreApplication::applicationDirPath());
}

uint32_t MonotonicMilliseconds() {
    return static_cast<uint32_t>(QDeadlineTimer::current().deadline());
}
