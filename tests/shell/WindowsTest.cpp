#include "shell/DlgAbout.h"
#include "shell/FlatFrame.h"
#include "shell/FormHelp.h"
#include "shell/HelpPages.h"
#include "shell/PanelButton.h"
#include "shell/SplashSetting.h"
#include "support/FakePlatform.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
const QColor Grey(128, 128, 128);

void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

// Counts the font and palette changes a widget receives.
class ChangeCounter : public QObject {
public:
    int Fonts = 0;
    int Palettes = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FontChange) ++Fonts;
        if (event->type() == QEvent::PaletteChange) ++Palettes;
        return false;
    }
};
} // namespace

TEST(HelpWindow, BackAndForwardFollowThePage) {
    TFormHelp help;
    help.show();
    EXPECT_EQ(help.Page(), 1);
    EXPECT_EQ(help.lblPage->text(), "1/12");
    EXPECT_FALSE(help.cmdPrev->isEnabled());
    EXPECT_EQ(help.cmdPrev->CaptionColour(), Grey);
    EXPECT_TRUE(help.cmdNext->isEnabled());
    EXPECT_EQ(help.cmdNext->CaptionColour(), QColor(Qt::black));
    EXPECT_EQ(help.lblHelp->text().toStdString(), std::string(HelpPageText(1)));

    for (int page = 2; page <= 12; ++page) {
        Click(help.cmdNext);
        EXPECT_EQ(help.lblPage->text(), QString("%1/12").arg(page));
    }
    EXPECT_FALSE(help.cmdNext->isEnabled());
    EXPECT_EQ(help.cmdNext->CaptionColour(), Grey);
    EXPECT_TRUE(help.cmdPrev->isEnabled());
    EXPECT_EQ(help.cmdPrev->CaptionColour(), QColor(Qt::black));

    // A disabled Forward does nothing when clicked.
    Click(help.cmdNext);
    EXPECT_EQ(help.Page(), 12);
    Click(help.cmdPrev);
    EXPECT_EQ(help.lblPage->text(), "11/12");
}

TEST(HelpWindow, LineBreaksOfPagesAreKept) {
    TFormHelp help;
    help.show();
    for (int i = 1; i < 4; ++i)
        Click(help.cmdNext);
    EXPECT_TRUE(help.lblHelp->text().contains("want.\n    TIP: If you press the Shift key"));
}

TEST(HelpWindow, CloseHidesAndShowingAgainStartsAtPageOne) {
    TFormHelp help;
    help.show();
    Click(help.cmdNext);
    Click(help.cmdNext);
    EXPECT_EQ(help.Page(), 3);
    Click(help.cmdClose);
    EXPECT_FALSE(help.isVisible());
    help.show();
    EXPECT_EQ(help.Page(), 1);
    EXPECT_EQ(help.lblPage->text(), "1/12");
}

class AboutDialog : public ::testing::Test {
protected:
    FakePlatform Platform;
    QCursor Hand{Qt::PointingHandCursor};
};

TEST_F(AboutDialog, CreationSetsVersionCaptionAndFirstLine) {
    TDlgAbout about(Platform, Hand);
    EXPECT_EQ(about.lblVersion->text(), "1.7.5.0");
    EXPECT_EQ(about.windowTitle(), "Vimo's Quilo Vorel: About");
    EXPECT_EQ(about.FlashTag(), 1);
    EXPECT_TRUE(about.lblHomeOf->text().startsWith("Home of \""));
    EXPECT_EQ(about.tmrFlash->interval(), 4000);
    EXPECT_TRUE(about.tmrFlash->isActive());
    EXPECT_EQ(about.lblURL->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(AboutDialog, LineCyclesThroughThreeTextsInSixColours) {
    TDlgAbout about(Platform, Hand);
    QString first = about.lblHomeOf->text();
    std::set<QRgb> colours;
    for (int i = 0; i < 60; ++i) {
        about.tmrFlashTimer();
        EXPECT_EQ(about.FlashTag(), (i + 2) % 3);
        colours.insert(about.lblHomeOf->palette().color(QPalette::WindowText).rgb());
    }
    EXPECT_EQ(about.lblHomeOf->text(), first); // 60 cycles bring the first text back
    const std::set<QRgb> allowed = {qRgb(0, 0, 0),   qRgb(128, 0, 0), qRgb(0, 0, 128),
                                    qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 128, 0)};
    for (QRgb c : colours)
        EXPECT_TRUE(allowed.count(c)) << std::hex << c;
    EXPECT_GE(colours.size(), 4u); // random, but 60 draws of six colours show most of them
}

TEST_F(AboutDialog, MoreInfoTwiceRestoresCaptionAndHidesPanel) {
    TDlgAbout about(Platform, Hand);
    about.show();
    EXPECT_FALSE(about.pnlMoreInfo->isVisible());
    Click(about.cmdMoreInfo);
    EXPECT_TRUE(about.pnlMoreInfo->isVisible());
    EXPECT_EQ(about.cmdMoreInfo->text(), "&About");
    // The text is laid out when first asked for, and only once.
    const QList<QLabel*> texts = about.pnlMoreInfo->findChildren<QLabel*>();
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts.front()->isVisible());
    EXPECT_TRUE(texts.front()->text().contains("Vimo's World"));
    Click(about.cmdMoreInfo);
    EXPECT_FALSE(about.pnlMoreInfo->isVisible());
    EXPECT_EQ(about.cmdMoreInfo->text(), "&More info");
    Click(about.cmdMoreInfo);
    EXPECT_EQ(about.pnlMoreInfo->findChildren<QLabel*>().size(), 1);
}

TEST_F(AboutDialog, ShowingAgainHidesThePanel) {
    TDlgAbout about(Platform, Hand);
    about.show();
    Click(about.cmdMoreInfo);
    about.hide();
    about.show();
    EXPECT_FALSE(about.pnlMoreInfo->isVisible());
    EXPECT_EQ(about.cmdMoreInfo->text(), "&More info");
}

TEST_F(AboutDialog, LinkHighlightsOnlyOnChange) {
    TDlgAbout about(Platform, Hand);
    about.show();
    ChangeCounter counter;
    about.lblURL->installEventFilter(&counter);
    for (int x = 10; x < 60; x += 10)
        QTest::mouseMove(about.lblURL, QPoint(x, 8));
    EXPECT_TRUE(about.LinkHot());
    EXPECT_TRUE(about.lblURL->font().underline());
    EXPECT_TRUE(about.lblURL->font().bold());
    EXPECT_EQ(about.lblURL->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(counter.Fonts, 1);
    EXPECT_EQ(counter.Palettes, 1);

    QTest::mouseMove(&about, QPoint(380, 20));
    QTest::mouseMove(&about, QPoint(390, 30));
    EXPECT_FALSE(about.LinkHot());
    EXPECT_FALSE(about.lblURL->font().underline());
    EXPECT_TRUE(about.lblURL->font().bold());
    EXPECT_EQ(about.lblURL->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(counter.Fonts, 2);
    EXPECT_EQ(counter.Palettes, 2);
}

TEST_F(AboutDialog, UntickingPersistsAtShutdown) {
    ShowSplash = true;
    {
        TDlgAbout about(Platform, Hand);
        EXPECT_TRUE(about.chkShowScreen->isChecked());
        about.show();
        Click(about.chkShowScreen);
        EXPECT_FALSE(ShowSplash);
    }
    WriteSplashSetting();
    EXPECT_EQ(QSettings("KEL! Software", "Vorel").value("SplashScreen").toBool(), false);
    ShowSplash = true;
    ReadSplashSetting();
    EXPECT_FALSE(ShowSplash);
    TDlgAbout next(Platform, Hand);
    EXPECT_FALSE(next.chkShowScreen->isChecked());
    ShowSplash = true;
    WriteSplashSetting();
}

TEST_F(AboutDialog, LinkOpensWithHourglassAndSaysSoWhenItCannot) {
    TDlgAbout about(Platform, Hand);
    about.show();
    Platform.UrlOpens = false;
    QTest::mouseClick(about.lblURL, Qt::LeftButton, {}, QPoint(50, 8));
    ASSERT_EQ(Platform.OpenedUrls.size(), 1u);
    EXPECT_EQ(Platform.OpenedUrls[0], "https://" + TDlgAbout::WebAddress.toStdString());
    EXPECT_EQ(Platform.ScreenCursors,
              (std::vector<ScreenCursor>{ScreenCursor::Hourglass, ScreenCursor::Default}));
    ASSERT_EQ(Platform.Messages.size(), 1u);
    EXPECT_NE(Platform.Messages[0].Text.find("could not be opened"), std::string::npos);

    Platform.UrlOpens = true;
    QTest::mouseClick(about.lblURL, Qt::LeftButton, {}, QPoint(50, 8));
    EXPECT_EQ(Platform.Messages.size(), 1u);
    EXPECT_EQ(Platform.ScreenCursors.size(), 4u);
}

TEST_F(AboutDialog, OkEndsTheModalLoop) {
    TDlgAbout about(Platform, Hand);
    QTimer::singleShot(0, &about, [&] { Click(about.cmdOK); });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}

// Filled instead of stroked, a box or a panel shows the pixels of Qt's own
// frame, whatever its size, its line width and its shadow.
TEST(FlatFrameTest, ShowsThePixelsOfQtsOwnFrame) {
    QPalette colours;
    colours.setColor(QPalette::Light, Qt::red);
    colours.setColor(QPalette::Dark, Qt::blue);
    colours.setColor(QPalette::WindowText, Qt::green);
    colours.setColor(QPalette::Window, Qt::yellow);
    colours.setColor(QPalette::Mid, Qt::cyan);
    colours.setColor(QPalette::Midlight, Qt::darkRed);
    colours.setColor(QPalette::Shadow, Qt::darkGreen);
    for (QFrame::Shape shape : {QFrame::Box, QFrame::Panel})
        for (QFrame::Shadow shadow : {QFrame::Plain, QFrame::Raised, QFrame::Sunken})
            for (int lineWidth : {1, 2, 3})
                for (QSize size : {QSize(40, 30), QSize(9, 6), QSize(3, 3)}) {
                    QFrame theirs;
                    FlatFrame ours;
                    QImage want(size, QImage::Format_RGB32), got(size, QImage::Format_RGB32);
                    for (auto [frame, shot] : {std::pair<QFrame*, QImage*>{&theirs, &want}, {&ours, &got}}) {
                        frame->setFrameStyle(shape | shadow);
                        frame->setLineWidth(lineWidth);
                        frame->setPalette(colours);
                        frame->resize(size);
                        shot->fill(Qt::magenta);
                        frame->render(shot);
                    }
                    ASSERT_EQ(got, want) << "shape " << shape << " shadow " << shadow << " line " << lineWidth
                                         << " size " << size.width() << "x" << size.height();
                }
}
