#include "shell/DlgAbout.h"

#include "platform/Platform.h"
#include "shell/ApplicationTitle.h"
#include "shell/EventBoundary.h"
#include "shell/PngFile.h"
#include "shell/QtConvert.h"
#include "shell/ShellFonts.h"
#include "shell/SplashSetting.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <array>
#include <chrono>

const QString TDlgAbout::WebAddress = "www.tamblin-games.example";

namespace {
const QColor Yellow(255, 255, 0);

const std::array<QString, 3> HomeOfLines = {
    "Home of \"Vimo's Kitchen\" and \"Vimo's Garden\"",
    "Home of \"Quilo Tales\" and \"Vimo's Music Box\"",
    "Home of \"Vimo's World\" and \"Tamblin Puzzles\"",
};
const std::array<QColor, 6> LineColours = {QColor(0, 0, 0),   QColor(128, 0, 0), QColor(0, 0, 128),
                                           QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 128, 0)};

const char* const MoreInfoText =
    "<p>The Quilo Vorel is one room of <b>Vimo's World</b>, a large play world for young children in which "
    "Vimo and his friends invite them to build, paint, sing and explore.</p>"
    "<p>Vimo's World holds dozens of activities: a kitchen where silly recipes come to life, a music box "
    "that "
    "plays the child's own tunes, a garden that grows whatever is planted, and picture puzzles of every "
    "size.</p>"
    "<p>Every activity is made to be used without reading, so that even the youngest players can find their "
    "way on their own, and every picture they make is kept for the next visit.</p>"
    "<p>Visit our web site to see all of Vimo's World, to print colouring pages and to find out what the "
    "Tamblin team is working on next.</p>";

// A filled rounded rectangle with a thin black outline.
class RoundShape : public QWidget {
public:
    RoundShape(const QColor& fill, QRect geometry, QWidget* parent) : QWidget(parent), Fill(fill) {
        setGeometry(geometry);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Fill);
        painter.setPen(Qt::black);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    }

private:
    QColor Fill;
};

QLabel* MakeLabel(const QString& text, QWidget* parent, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    return label;
}

QLabel* MakeYellowNote(const QString& text, QRect geometry, QWidget* parent) {
    QLabel* note = MakeLabel(text, parent, ShellFont(FontFace::Sans, 12));
    note->setGeometry(geometry);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignCenter);
    note->setAutoFillBackground(true);
    QPalette p = note->palette();
    p.setColor(QPalette::Window, Yellow);
    note->setPalette(p);
    return note;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colour);
    widget->setPalette(p);
}
} // namespace

TDlgAbout::TDlgAbout(Platform& platform, const QCursor& linkCursor, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Desktop(platform) {
    setFixedSize(427, 280);
    setFont(ShellFont(FontFace::Sans, 12));
    setMouseTracking(true);
    BuildFrame();
    BuildLink(linkCursor);
    BuildMoreInfo();

    cmdOK = new QPushButton("OK", this);
    cmdOK->setGeometry(342, 248, 75, 25);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    cmdMoreInfo = new QPushButton("&More info", this);
    cmdMoreInfo->setGeometry(250, 248, 75, 25);
    connect(cmdMoreInfo, &QPushButton::clicked, this, [this] { Guarded([this] { cmdMoreInfoClick(); }); });
    chkShowScreen = new QCheckBox("Show this screen on start-up", this);
    chkShowScreen->setGeometry(4, 261, 181, 17);
    chkShowScreen->setChecked(ShowSplash);
    connect(chkShowScreen, &QCheckBox::clicked, this, [this] { Guarded([this] { chkShowScreenClick(); }); });

    tmrFlash = new QTimer(this);
    tmrFlash->setInterval(4000);
    connect(tmrFlash, &QTimer::timeout, this, [this] { Guarded([this] { tmrFlashTimer(); }); });
    tmrFlash->start();

    setWindowTitle(QString(ApplicationTitle) + ": About");
    Random.seed(
        static_cast<std::mt19937::result_type>(std::chrono::steady_clock::now().time_since_epoch().count()));
    CycleLine();
}

void TDlgAbout::BuildFrame() {
    auto* bevel = new QFrame(this);
    bevel->setGeometry(7, 8, 413, 233);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setEnabled(false);
    bevel->setAttribute(Qt::WA_TransparentForMouseEvents);

    Title = MakeLabel("Vimo's Quilo Vorel", this, ShellFont(FontFace::Serif, 35, true));
    Title->move(116, 27);
    Title->adjustSize();

    auto* picture = new QLabel(this);
    picture->setGeometry(21, 20, 61, 61);
    picture->setPixmap(QPixmap::fromImage(ReadPng(":/art/about.png")));

    lblVersion = MakeLabel("1.7.5.0", this, ShellFont(FontFace::Sans, 11));
    lblVersion->adjustSize();
    lblVersion->move(377 - lblVersion->width(), 62);

    QLabel* copyright = MakeLabel("Copyright \u00a9 2011 Tamblin Games. All rights reserved.", this,
                                  ShellFont(FontFace::Sans, 11));
    copyright->move(41, 204);
    copyright->adjustSize();
    QLabel* credits = MakeLabel("Pictures by the Tamblin art team; program by KEL! Software", this,
                                ShellFont(FontFace::Sans, 11));
    credits->adjustSize();
    credits->move(213 - credits->width() / 2, 220);
    for (QLabel* label : {Title, lblVersion, copyright, credits})
        label->setMouseTracking(true);

    new RoundShape(Yellow, QRect(19, 123, 76, 37), this);
    new RoundShape(Yellow, QRect(332, 123, 76, 37), this);
    new RoundShape(Qt::white, QRect(97, 129, 233, 25), this);
    MakeYellowNote("Come by for a visit!", QRect(31, 126, 52, 30), this);
    MakeYellowNote("Lots to see and do!", QRect(338, 126, 64, 30), this);

    lblHomeOf = MakeLabel("", this, ShellFont(FontFace::Sans, 16, true));
    lblHomeOf->setGeometry(16, 172, 397, 19);
    lblHomeOf->setAlignment(Qt::AlignCenter);
}

void TDlgAbout::BuildLink(const QCursor& linkCursor) {
    lblURL = MakeLabel(WebAddress, this, ShellFont(FontFace::Sans, 16, true));
    lblURL->setGeometry(101, 132, 224, 19);
    lblURL->setAlignment(Qt::AlignCenter);
    lblURL->setCursor(linkCursor);
    lblURL->setMouseTracking(true);
    lblURL->installEventFilter(this);
}

void TDlgAbout::BuildMoreInfo() {
    pnlMoreInfo = new QFrame(this);
    pnlMoreInfo->setGeometry(12, 13, 403, 223);
    pnlMoreInfo->setAutoFillBackground(true);
    pnlMoreInfo->setMouseTracking(true);
    pnlMoreInfo->hide();
}

// The text is laid out when first asked for: most children never open it,
// and its rich text costs the about box's start a font and a layout.
void TDlgAbout::FillMoreInfo() {
    if (MoreInfoFilled) return;
    MoreInfoFilled = true;
    auto* text = new QLabel(MoreInfoText, pnlMoreInfo);
    text->setGeometry(8, 4, 387, 215);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setMouseTracking(true);
}

void TDlgAbout::showEvent(QShowEvent* event) {
    pnlMoreInfo->hide();
    // The caption follows the panel, so a dialog closed with the panel open
    // does not come back offering "About" for a hidden panel.
    cmdMoreInfo->setText("&More info");
    QDialog::showEvent(event);
}

void TDlgAbout::tmrFlashTimer() {
    CycleLine();
}

void TDlgAbout::CycleLine() {
    int i = (Tag + 1) % 3;
    lblHomeOf->setText(HomeOfLines[static_cast<size_t>(i)]);
    std::uniform_int_distribution<size_t> pick(0, LineColours.size() - 1);
    SetTextColour(lblHomeOf, LineColours[pick(Random)]);
    Tag = i;
}

void TDlgAbout::cmdMoreInfoClick() {
    FillMoreInfo();
    pnlMoreInfo->setVisible(!pnlMoreInfo->isVisible());
    cmdMoreInfo->setText(pnlMoreInfo->isVisible() ? "&About" : "&More info");
}

void TDlgAbout::chkShowScreenClick() {
    ShowSplash = chkShowScreen->isChecked();
}

void TDlgAbout::SetLinkHighlight(bool on) {
    if (on == Hot) return;
    Hot = on;
    QFont font = lblURL->font();
    font.setBold(true);
    font.setUnderline(on);
    lblURL->setFont(font);
    SetTextColour(lblURL, on ? QColor(0, 0, 255) : QColor(0, 0, 0));
}

void TDlgAbout::lblURLClick() {
    QString address = lblURL->text();
    QString url = address.contains("://") ? address : "https://" + address;
    Desktop.SetScreenCursor(ScreenCursor::Hourglass);
    bool opened = false;
    try {
        opened = Desktop.OpenUrl(ToStd(url));
    } catch (...) {
        Desktop.SetScreenCursor(ScreenCursor::Default);
        throw;
    }
    Desktop.SetScreenCursor(ScreenCursor::Default);
    if (!opened)
        ShowOk(Desktop,
               ToStd("The web address " + url +
                     " could not be opened: no web browser is set up on this computer."),
               MessageKind::Warning);
}

void TDlgAbout::mouseMoveEvent(QMouseEvent* event) {
    SetLinkHighlight(false);
    QDialog::mouseMoveEvent(event);
}

bool TDlgAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblURL) {
        if (event->type() == QEvent::MouseMove) {
            SetLinkHighlight(true);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            Guarded([this] { lblURLClick(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
