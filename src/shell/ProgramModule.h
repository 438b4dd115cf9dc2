#pragma once
// Finds and opens the program's modules, the parts it loads only when they
// are first wanted (sound, printing): beside the program (a build folder) or
// where the installation puts them, the way from the program's folder given
// by the install layout.

#include <QFunctionPointer>
#include <QString>
#include <QStringList>

// Where the module file is looked for, in turn, for a program in programFolder.
QStringList ModuleCandidates(const QString& programFolder, const QString& file);

// The entry point named entry of the first candidate that loads and offers
// it; the module then stays loaded for the rest of the run. nullptr when
// none does, with every candidate's failure, joined, in *failures.
QFunctionPointer LoadModuleEntry(const QStringList& candidates, const char* entry, QString* failures = nullptr);
