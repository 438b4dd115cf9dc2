#pragma once
// The program's start: the unit start-up (folders, the splash setting), the
// display and single-instance checks, the shipped data, the required files,
// the three windows and the event loop; then the unit shutdown.

#include "shell/CommandLine.h"

class VorelApplication;

// Returns the process's exit code.
int RunProgram(VorelApplication& app, const ShellOptions& options);
// The export mode: no window, no display needed.
int RunExport(const ShellOptions& options);
