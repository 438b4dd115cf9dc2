#include "shell/DesktopFacts.h"

#include "shell/QtConvert.h"
#include "shell/ShippedData.h"

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

// VOREL_DATA_FROM_PROGRAM comes from the build's install layout: the way from
// the installed program's folder to its data, normally "../share/vorel".
std::string ProgramDataFolder() {
    return ShippedDataFolder(ExecutableFolder(), VOREL_DATA_FROM_PROGRAM);
}

uint32_t MonotonicMilliseconds() {
    return static_cast<uint32_t>(QDeadlineTimer::current().deadline());
}
