#pragma once
// The modal about box: product, version, a link to the maker's web site, a
// line that cycles every 4 seconds, a "More info" panel and the check box
// that switches its showing at start-up.

#include <QDialog>

#include <random>

class Platform;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class QCursor;

class TDlgAbout : public QDialog {
public:
    TDlgAbout(Platform& platform, const QCursor& linkCursor, QWidget* parent = nullptr);

    QLabel* Title;
    QLabel* lblVersion;
    QLabel* lblURL;
    QLabel* lblHomeOf;
    QPushButton* cmdOK;
    QPushButton* cmdMoreInfo;
    QCheckBox* chkShowScreen;
    QFrame* pnlMoreInfo;
    QTimer* tmrFlash;

    bool LinkHot() const { return Hot; }
    int FlashTag() const { return Tag; }

    void tmrFlashTimer();
    void cmdMoreInfoClick();
    void chkShowScreenClick();
    void lblURLClick();
    void SetLinkHighlight(bool on);

    static const QString WebAddress;

protected:
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildFrame();
    void BuildLink(const QCursor& linkCursor);
    void BuildMoreInfo();
    void FillMoreInfo();
    void CycleLine();

    Platform& Desktop;
    bool Hot = false;
    bool MoreInfoFilled = false;
    int Tag = 0;
    std::mt19937 Random;
};
