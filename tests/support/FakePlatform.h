#pragma once
// A platform for tests: records what the core asks of it and answers message
// boxes from a queue of prepared answers.

#include "platform/DisplayTarget.h"
#include "platform/MainWindowServices.h"
#include "platform/Platform.h"

#include <deque>
#include <string>
#include <vector>

class FakePlatform : public Platform {
public:
    struct Message {
        std::string Text;
        MessageKind Kind;
        MessageButtons Buttons;
    };

    std::optional<std::string> DataFolder = std::string("/tmp/fake-data");
    std::string ProgramDir = "/opt/vorel";
    std::vector<std::string> Args;

    std::vector<Message> Messages;
    // Answers for Yes/No boxes, taken from the front; "No" when it runs dry.
    std::deque<MessageResult> Answers;

    bool Shift = false;
    bool Ctrl = false;
    bool CapsLock = false;
    uint32_t Clock = 0;
    int PendingMessageCalls = 0;
    std::vector<ScreenCursor> ScreenCursors;
    std::vector<CursorKind> PlayAreaCursors;
    int PointerRefreshes = 0;
    std::vector<std::string> OpenedUrls;
    bool UrlOpens = true;
    std::vector<SoundCue> Sounds;

    std::optional<std::string> CommonDataFolder() const override { return DataFolder; }
    std::string ProgramFolder() const override { return ProgramDir; }
    std::vector<std::string> Arguments() const override { return Args; }
    MessageResult ShowMessage(const std::string& text, MessageKind kind, MessageButtons buttons) override;
    bool IsShiftDown() const override { return Shift; }
    bool IsCtrlDown() const override { return Ctrl; }
    bool IsCapsLockOn() const override { return CapsLock; }
    uint32_t Milliseconds() const override { return Clock; }
    void ProcessPendingMessages() override { ++PendingMessageCalls; }
    void SetScreenCursor(ScreenCursor cursor) override { ScreenCursors.push_back(cursor); }
    void SetPlayAreaCursor(CursorKind kind) override { PlayAreaCursors.push_back(kind); }
    void RefreshPointer() override { ++PointerRefreshes; }
    bool OpenUrl(const std::string& url) override;
    void PlaySound(SoundCue cue) override { Sounds.push_back(cue); }

    std::vector<std::string> MessageTexts() const;
};

class FakeMainWindow : public MainWindowServices {
public:
    std::vector<std::string> Titles;
    bool Active = true;
    std::vector<int> DrawnThumbnails;
    std::vector<std::pair<int, bool>> Highlights;
    std::pair<bool, bool> History{false, false}; // can undo, can redo

    void SetTitle(const std::string& title) override { Titles.push_back(title); }
    bool IsMainWindowActive() const override { return Active; }
    void DrawThumbnail(int index) override { DrawnThumbnails.push_back(index); }
    void HighlightThumbnail(int index, bool on) override { Highlights.emplace_back(index, on); }
    void ShowHistory(bool canUndo, bool canRedo) override { History = {canUndo, canRedo}; }
};

// A display target in memory that counts blits and keeps their rectangles.
class FakeDisplayTarget : public DisplayTarget {
public:
    FakeDisplayTarget(int width, int height, uint32_t fill = 0xFF000000u);
    int Width() const override { return W; }
    int Height() const override { return H; }
    uint32_t* ScanLine(int y) override { return Pixels.data() + static_cast<size_t>(y) * W; }
    void Blitted(const TRect& rect) override { Blits.push_back(rect); }
    uint32_t Pixel(int x, int y) const { return Pixels[static_cast<size_t>(y) * W + x]; }

    std::vector<TRect> Blits;

private:
    int W;
    int H;
    std::vector<uint32_t> Pixels;
};
