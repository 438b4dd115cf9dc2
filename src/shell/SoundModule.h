#pragma once
// Finds and loads the sound module (see ProgramModule.h).

#include "shell/SoundOutput.h"

#include <QString>
#include <QStringList>

#include <memory>

// Where the module is looked for, in turn, for a program in programFolder.
QStringList SoundModuleCandidates(const QString& programFolder);

// The module's output for the sounds in folder; nullptr when no candidate
// loads or offers the entry point, with what failed in *problem.
std::unique_ptr<SoundOutput> LoadSoundModule(const QStringList& candidates, const QUrl& folder,
                                             QString* problem = nullptr);
