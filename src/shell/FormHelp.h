#pragma once
// The instructions window: ten pages, one at a time, with Back, Forward and
// Close. Every showing starts at page 1; closing only hides it.

#include <QWidget>

class PanelButton;
class QLabel;

class TFormHelp : public QWidget {
public:
    explicit TFormHelp(QWidget* parent = nullptr);

    int Page() const { return CurrentPage; }
    // Sizes the window, its parts and its text to scale times the original.
    void SetScale(int scale);
    int Scale() const { return WindowScale; }
    QLabel* lblHelp;
    QLabel* lblPage;
    PanelButton* cmdPrev;
    PanelButton* cmdNext;
    PanelButton* cmdClose;

    void cmdPrevClick();
    void cmdNextClick();
    void cmdCloseClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowPage();
    int CurrentPage = 1;
    int WindowScale = 1;
};
