#pragma once
// What the engine and the colouring rooms ask of the main window.

#include <string>

class MainWindowServices {
public:
    virtual ~MainWindowServices() = default;
    virtual void SetTitle(const std::string& title) = 0;
    virtual bool IsMainWindowActive() const = 0;
    // Shows the damaged part of thumbnail index (1..4) at once.
    virtual void DrawThumbnail(int index) = 0;
    // Frames thumbnail index as the current picture (on), or as a plain one.
    virtual void HighlightThumbnail(int index, bool on) = 0;
    // Whether the current picture has a change to undo and one to redo; both
    // false outside the colouring rooms. The window greys what is not there.
    virtual void ShowHistory(bool canUndo, bool canRedo) {
        (void)canUndo;
        (void)canRedo;
    }
};
