#pragma once
// Printing lives in a module of its own (PrintDialog), the only part that
// links Qt Print Support, loaded the first time a grown-up prints: a start,
// or a session without printing, never loads the printing libraries.

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class QWidget;

using PrintErrorReport = std::function<void(const std::string& message)>;

// The module's one entry point, a C function of this name and type: the
// print dialog with its preview over parent for pages (one picture a page),
// the document named documentName. Whatever fails is handed to report as a
// message that names it; nothing escapes the module.
using RunPrintDialogFunction = void (*)(QWidget* parent, const QString& documentName,
                                        const std::vector<QImage>& pages, const PrintErrorReport& report);
constexpr const char* RunPrintDialogName = "VorelRunPrintDialog";

// Where the module is looked for, in turn, for a program in programFolder.
QStringList PrintModuleCandidates(const QString& programFolder);

// The entry point of the first candidate that offers it; nullptr when none
// does, with what failed in *problem.
RunPrintDialogFunction LoadPrintModule(const QStringList& candidates, QString* problem = nullptr);
