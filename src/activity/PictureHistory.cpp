#include "activity/PictureHistory.h"

#include <utility>

namespace {
// A record is kept for a long time: it should not hold the slack of the
// stream it was written into.
TPictureStep Trimmed(TPictureStep step) {
    step.Record.shrink_to_fit();
    return step;
}
} // namespace

void TPictureHistory::Record(TPictureStep before) {
    Future.clear();
    Past.push_back(Trimmed(std::move(before)));
    if (Past.size() > Depth) Past.pop_front();
}

std::optional<TPictureStep> TPictureHistory::Undo(TPictureStep current) {
    if (Past.empty()) return std::nullopt;
    TPictureStep step = std::move(Past.back());
    Past.pop_back();
    Future.push_back(Trimmed(std::move(current)));
    return step;
}

std::optional<TPictureStep> TPictureHistory::Redo(TPictureStep current) {
    if (Future.empty()) return std::nullopt;
    TPictureStep step = std::move(Future.back());
    Future.pop_back();
    Past.push_back(Trimmed(std::move(current)));
    return step;
}

void TPictureHistory::Clear() {
    Past.clear();
    Future.clear();
    Future.shrink_to_fit();
}

size_t TPictureHistory::MemoryBytes() const {
    size_t bytes = (Past.size() + Future.capacity()) * sizeof(TPictureStep);
    for (const TPictureStep& step : Past)
        bytes += step.Record.capacity();
    for (const TPictureStep& step : Future)
        bytes += step.Record.capacity();
    return bytes;
}
