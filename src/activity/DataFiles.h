#pragma once
// The start-up check of the data files that ship with the program, made
// before anything reads or writes a saved game: a saved game is only ever
// judged against sound data, and a run on damaged data never starts.

#include <string>

class DataFileDamaged;
class TWorld;

// Reads the image library (every image decoded) and the region map in
// datPath. Raises DataFileDamaged naming the first file that cannot be used.
// A library whose bytes passed before, as noted in datPath, is not decoded
// again (LibraryCheckNote).
void CheckDataFiles(const std::string& libraryPath, const std::string& datPath);

// The program's script loader: the script in DatPath, converted and read
// once, with all its mistakes gathered into one DataFileDamaged (instead of a
// box per line); a script without the four picture rooms or its start room is
// damaged too.
void LoadCheckedScript(TWorld& world);

// The text a parent reads: which file, that the saved pictures are safe, and
// what mends it.
std::string DataFileMessage(const DataFileDamaged& fault);
