#include "shell/SoundModule.h"

#include "shell/ProgramModule.h"

QStringList SoundModuleCandidates(const QString& programFolder) {
    return ModuleCandidates(programFolder, "libvorelsound.so");
}

std::unique_ptr<SoundOutput> LoadSoundModule(const QStringList& candidates, const QUrl& folder, QString* problem) {
    QString failures;
    auto make = reinterpret_cast<MakeSoundOutputFunction>(LoadModuleEntry(candidates, MakeSoundOutputName, &failures));
    if (make) return std::unique_ptr<SoundOutput>(make(folder));
    if (problem) *problem = "no sound module (" + failures + ")";
    return nullptr;
}
