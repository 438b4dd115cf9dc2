#pragma once
// The short sounds with which the toy answers a child's actions.

enum class SoundCue {
    Fill,         // a region took the chosen colour
    RandomFill,   // a region took a colour picked at random
    AddObject,    // an object joined the picture
    Delete,       // the selected object left it
    DeleteAll,    // every object left it
    BankPage,     // the object buttons turned to another page
    TitleArrival, // the title's last word is in place
};
