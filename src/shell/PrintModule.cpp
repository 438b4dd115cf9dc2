#include "shell/PrintModule.h"

#include "shell/ProgramModule.h"

QStringList PrintModuleCandidates(const QString& programFolder) {
    return ModuleCandidates(programFolder, "libvorelprint.so");
}

RunPrintDialogFunction LoadPrintModule(const QStringList& candidates, QString* problem) {
    QString failures;
    auto run = reinterpret_cast<RunPrintDialogFunction>(LoadModuleEntry(candidates, RunPrintDialogName, &failures));
    if (!run && problem) *problem = "no print module (" + failures + ")";
    return run;
}
