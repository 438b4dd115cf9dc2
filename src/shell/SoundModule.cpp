#include "shell/SoundModule.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QUrl>

#ifndef VOREL_MODULES_FROM_PROGRAM
#define VOREL_MODULES_FROM_PROGRAM "../lib/vorel/modules"
#endif

namespace {
constexpr const char* ModuleFile = "libvorelsound.so";
}

QStringList SoundModuleCandidates(const QString& programFolder) {
    const QDir program(programFolder);
    return {QDir::cleanPath(program.filePath(ModuleFile)),
            QDir::cleanPath(program.filePath(QString(VOREL_MODULES_FROM_PROGRAM) + "/" + ModuleFile))};
}

std::unique_ptr<SoundOutput> LoadSoundModule(const QStringList& candidates, const QUrl& folder, QString* problem) {
    QStringList failures;
    for (const QString& path : candidates) {
        if (!QFileInfo::exists(path)) {
            failures << path + ": not found";
            continue;
        }
        // Never unloaded: the output's sounds live as long as the program.
        QLibrary module(path);
        auto make = reinterpret_cast<MakeSoundOutputFunction>(module.resolve(MakeSoundOutputName));
        if (!make) {
            failures << module.errorString();
            continue;
        }
        return std::unique_ptr<SoundOutput>(make(folder));
    }
    if (problem) *problem = "no sound module (" + failures.join("; ") + ")";
    return nullptr;
}
