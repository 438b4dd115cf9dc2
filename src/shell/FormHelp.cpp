#include "shell/FormHelp.h"

#include "shell/HelpPages.h"
#include "shell/PanelButton.h"
#include "shell/ShellFonts.h"

#include <QLabel>

namespace {
const QColor Yellow(255, 255, 0);
const QColor Grey(128, 128, 128);

PanelButton* MakeButton(const QString& caption, QRect geometry, QWidget* parent) {
    auto* button = new PanelButton(caption, parent);
    button->setGeometry(geometry);
    button->SetBackground(Yellow);
    return button;
}
} // namespace

TFormHelp::TFormHelp(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle("Vimo's Quilo Vorel - Instructions");
    setFixedSize(290, 130);
    setFont(ShellFont(FontFace::Sans, 11));
    QPalette p = palette();
    p.setColor(QPalette::Window, Yellow);
    setPalette(p);
    setAutoFillBackground(true);

    lblHelp = new QLabel(this);
    lblHelp->setGeometry(4, 4, 281, 95);
    lblHelp->setWordWrap(true);
    lblHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblHelp->setFont(ShellFont(FontFace::Sans, 13));

    lblPage = new QLabel(this);
    lblPage->setGeometry(166, 109, 29, 13);
    lblPage->setAlignment(Qt::AlignCenter);

    cmdPrev = MakeButton("<< Back", QRect(16, 104, 65, 21), this);
    cmdNext = MakeButton("Forward >>", QRect(88, 104, 65, 21), this);
    cmdClose = MakeButton("Close", QRect(208, 104, 65, 21), this);
    cmdPrev->OnClick = [this] { cmdPrevClick(); };
    cmdNext->OnClick = [this] { cmdNextClick(); };
    cmdClose->OnClick = [this] { cmdCloseClick(); };
    ShowPage();
}

void TFormHelp::showEvent(QShowEvent* event) {
    CurrentPage = 1;
    ShowPage();
    QWidget::showEvent(event);
}

void TFormHelp::cmdPrevClick() {
    if (CurrentPage <= 1) return;
    --CurrentPage;
    ShowPage();
}

void TFormHelp::cmdNextClick() {
    if (CurrentPage >= HelpPageCount) return;
    ++CurrentPage;
    ShowPage();
}

void TFormHelp::cmdCloseClick() {
    hide();
}

void TFormHelp::ShowPage() {
    lblHelp->setText(QString::fromUtf8(HelpPageText(CurrentPage).data(),
                                       static_cast<qsizetype>(HelpPageText(CurrentPage).size()))
                         .replace("\r\n", "\n"));
    cmdNext->setEnabled(CurrentPage < HelpPageCount);
    cmdPrev->setEnabled(CurrentPage > 1);
    for (PanelButton* button : {cmdNext, cmdPrev})
        button->SetCaptionColour(button->isEnabled() ? QColor(Qt::black) : Grey);
    lblPage->setText(QString::asprintf("%d/%d", CurrentPage, HelpPageCount));
}
