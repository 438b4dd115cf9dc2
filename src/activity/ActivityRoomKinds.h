#pragma once

// Makes the script's "VOREL" room kind create colouring rooms. The shell (and
// the tools that read scripts) call it once before the script is read.
void RegisterActivityRoomKinds();
