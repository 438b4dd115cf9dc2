// The print module: the print dialog with its preview, and the pages it prints.

#include "shell/EventBoundary.h"
#include "shell/PicturePrinter.h"
#include "shell/PrintModule.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

extern "C" Q_DECL_EXPORT void VorelRunPrintDialog(QWidget* parent, const QString& documentName,
                                                  const std::vector<QImage>& pages, const PrintErrorReport& report) {
    // The program's error boundary is not the module's: every failure is
    // caught here and handed over as a message.
    CatchInto(report, [&] {
        QPrinter printer(QPrinter::HighResolution);
        PreparePrinter(printer, documentName);
        QPrintPreviewDialog preview(&printer, parent);
        preview.setWindowTitle(QObject::tr("Print %1").arg(documentName));
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [&](QPrinter* target) { CatchInto(report, [&] { PrintPictures(*target, pages); }); });
        preview.exec();
    });
}

// The entry point's type is the one the program calls through.
[[maybe_unused]] static constexpr RunPrintDialogFunction CheckedEntry = &VorelRunPrintDialog;
