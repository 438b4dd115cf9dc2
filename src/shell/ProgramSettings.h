#pragma once

// The program's few switches, kept in the settings of "KEL! Software"/"Vorel".

// The stored value of key; fallback when it is missing or not a yes/no value.
bool ReadBoolSetting(const char* key, bool fallback);
// Stores value under key. Every write risks the file on a full disk, so an
// unchanged value is not written at all, and a changed one goes through a new
// file renamed over the old; a failure keeps the old file and is ignored.
void WriteBoolSetting(const char* key, bool value);
