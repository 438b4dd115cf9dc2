#pragma once
// A platform without windows for the command-line modes: messages go to the
// standard error stream and questions are answered No.

#include "platform/MainWindowServices.h"
#include "platform/Platform.h"

class HeadlessPlatform : public Platform, public MainWindowServices {
public:
    explicit HeadlessPlatform(std::vector<std::string> arguments) : Args(std::move(arguments)) {}

    std::optional<std::string> CommonDataFolder() const override;
    std::string ProgramFolder() const override;
    std::vector<std::string> Arguments() const override { return Args; }
    MessageResult ShowMessage(const std::string& text, MessageKind kind, MessageButtons buttons) override;
    bool IsShiftDown() const override { return false; }
    bool IsCtrlDown() const override { return false; }
    bool IsCapsLockOn() const override { return false; }
    uint32_t Milliseconds() const override;
    void ProcessPendingMessages() override {}
    void SetScreenCursor(ScreenCursor) override {}
    void SetPlayAreaCursor(CursorKind) override {}
    void RefreshPointer() override {}
    bool OpenUrl(const std::string&) override { return false; }

    void SetTitle(const std::string&) override {}
    bool IsMainWindowActive() const override { return false; }
    void DrawThumbnail(int) override {}
    void HighlightThumbnail(int, bool) override {}

    int MessagesShown() const { return Shown; }

private:
    std::vector<std::string> Args;
    int Shown = 0;
};
