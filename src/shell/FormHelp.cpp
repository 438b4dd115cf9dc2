#include "shell/FormHelp.h"

#include "shell/HelpPages.h"
#include "shell/PanelButton.h"
#include "shell/ShellFonts.h"

#include <QLabel>

namespace {
const QColor Yellow(255, 255, 0);
const QColor Grey(128, 128, 128);

PanelButton* MakeButton(const QString& caption, QWidget* parent) {
    auto* button = new PanelButton(caption, parent);
    button->SetBackground(Yellow);
    return button;
}

QRect Scaled(int x, int y, int w, int h, int scale) {
    return {x * scale, y * scale, w * scale, h * scale};
}
} // namespace

TFormHelp::TFormHelp(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle("Vimo's Quilo Vorel - Instructions");
    QPalette p = palette();
    p.setColor(QPalette::Window, Yellow);
    setPalette(p);
    setAutoFillBackground(true);

    lblHelp = new QLabel(this);
    lblHelp->setWordWrap(true);
    lblHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lblPage = new QLabel(this);
    lblPage->setAlignment(Qt::AlignCenter);

    cmdPrev = MakeButton("<< Back", this);
    cmdNext = MakeButton("Forward >>", this);
    cmdClose = MakeButton("Close", this);
    cmdPrev->OnClick = [this] { cmdPrevClick(); };
    cmdNext->OnClick = [this] { cmdNextClick(); };
    cmdClose->OnClick = [this] { cmdCloseClick(); };
    SetScale(1);
    ShowPage();
}

void TFormHelp::SetScale(int scale) {
    WindowScale = scale;
    setFixedSize(290 * scale, 130 * scale);
    setFont(ShellFont(FontFace::Sans, 11 * scale));
    lblHelp->setGeometry(Scaled(4, 4, 281, 95, scale));
    lblHelp->setFont(ShellFont(FontFace::Sans, 13 * scale));
    lblPage->setGeometry(Scaled(166, 109, 29, 13, scale));
    cmdPrev->setGeometry(Scaled(16, 104, 65, 21, scale));
    cmdNext->setGeometry(Scaled(88, 104, 65, 21, scale));
    cmdClose->setGeometry(Scaled(208, 104, 65, 21, scale));
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
