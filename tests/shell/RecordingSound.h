#pragma once
// A sound system for tests: remembers what it was asked to play, and how
// often it was opened and told to load its sounds.

#include "shell/SoundPlayer.h"

#include <memory>
#include <vector>

struct SoundLog {
    int Opened = 0;
    int Preloads = 0;
    std::vector<SoundCue> Played;
};

class RecordingSound : public SoundOutput {
public:
    explicit RecordingSound(SoundLog& log) : Log(log) {}
    bool HasDevice() override { return true; }
    void Preload() override { ++Log.Preloads; }
    void Play(SoundCue cue) override { Log.Played.push_back(cue); }

    // A factory that opens a recorder writing to log each time it is asked.
    static SoundPlayer::OutputFactory Factory(SoundLog& log) {
        return [&log]() -> std::unique_ptr<SoundOutput> {
            ++log.Opened;
            return std::make_unique<RecordingSound>(log);
        };
    }

private:
    SoundLog& Log;
};
