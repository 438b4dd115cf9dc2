#include "shell/SoundOutput.h"

#include <array>
#include <cstddef>

namespace {
// In the order of the cues.
constexpr std::array<const char*, SoundCueCount> FileNames{
    "fill.wav", "random-fill.wav", "add-object.wav", "delete.wav", "delete-all.wav", "bank-page.wav",
    "title-arrival.wav",
};
static_assert(static_cast<size_t>(SoundCue::TitleArrival) + 1 == FileNames.size(), "a cue without its file");
} // namespace

const char* SoundFileName(SoundCue cue) {
    const auto index = static_cast<size_t>(cue);
    return index < FileNames.size() ? FileNames[index] : FileNames[0];
}
