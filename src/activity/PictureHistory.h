#pragma once
// The undo and redo steps of one picture. A step is the picture's state as a
// saved game holds it (the room's picture record and its twenty bytes), taken
// before a change, plus where the next new object would be placed, which no
// saved game keeps. Because undo reads back what a save writes, the two can
// never disagree. The history lives only while the program runs.

#include "foundation/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

struct TPictureStep {
    std::vector<uint8_t> Record;
    TPoint Placement;
};

class TPictureHistory {
public:
    // Steps kept for undo; the oldest is dropped beyond this.
    static constexpr size_t Depth = 100;

    // The state before a change: it becomes the step to undo, and the steps
    // that could have been redone are dropped.
    void Record(TPictureStep before);
    // The step to go back to, or nothing; current is kept for redo.
    std::optional<TPictureStep> Undo(TPictureStep current);
    // The step to go forward to, or nothing; current is kept for undo.
    std::optional<TPictureStep> Redo(TPictureStep current);
    void Clear();

    bool CanUndo() const { return !Past.empty(); }
    bool CanRedo() const { return !Future.empty(); }
    size_t UndoCount() const { return Past.size(); }
    size_t RedoCount() const { return Future.size(); }
    // The heap memory the steps hold (records and the containers' slots).
    size_t MemoryBytes() const;

private:
    std::deque<TPictureStep> Past;    // oldest first
    std::vector<TPictureStep> Future; // the next redo last
};
