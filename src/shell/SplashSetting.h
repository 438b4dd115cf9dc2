#pragma once
// Whether the about dialog shows when the main window first shows; kept in
// the settings of "KEL! Software"/"Vorel" under "SplashScreen".

extern bool ShowSplash;

// Sets ShowSplash from the settings; a missing or unreadable value keeps true.
void ReadSplashSetting();
// Writes ShowSplash back when it differs from the stored value, through a new
// file renamed over the old one; a failure keeps the old file and is ignored.
void WriteSplashSetting();
