#include "shell/ProgramModule.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#ifndef VOREL_MODULES_FROM_PROGRAM
#define VOREL_MODULES_FROM_PROGRAM "../lib/vorel/modules"
#endif

QStringList ModuleCandidates(const QString& programFolder, const QString& file) {
    const QDir program(programFolder);
    return {QDir::cleanPath(program.filePath(file)),
            QDir::cleanPath(program.filePath(QString(VOREL_MODULES_FROM_PROGRAM) + "/" + file))};
}

QFunctionPointer LoadModuleEntry(const QStringList& candidates, const char* entry, QString* failures) {
    QStringList failed;
    for (const QString& path : candidates) {
        if (!QFileInfo::exists(path)) {
            failed << path + ": not found";
            continue;
        }
        // Never unloaded: what the module makes may live as long as the program.
        QLibrary module(path);
        if (QFunctionPointer found = module.resolve(entry)) return found;
        failed << module.errorString();
    }
    if (failures) *failures = failed.join("; ");
    return nullptr;
}
