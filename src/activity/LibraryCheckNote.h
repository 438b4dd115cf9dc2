#pragma once
// The start-up check walks every run of every image in the library, and its
// verdict depends on the library's bytes and on the program alone. Once a walk
// has passed, a note beside the data files keeps a fingerprint of those bytes
// and names the program that walked them, so that a later start of the same
// program with the same bytes need not walk them again. Any change to the
// bytes (another version installed, a damaged sector) or to the program
// brings the walk back.

#include <string>

class LibraryCheckNote {
public:
    LibraryCheckNote(const std::string& libraryPath, const std::string& noteFolder);

    // The library, byte for byte, is one that passed the walk before.
    bool PassedBefore() const;
    // Notes that the library passed. A note that cannot be written costs no
    // more than a walk at the next start.
    void RecordPass() const;

    // The note's text for a library: the program's size and time, the
    // library's size and a fingerprint of its bytes; "" when they cannot be
    // read (nothing is then skipped or noted).
    static std::string Fingerprint(const std::string& libraryPath);
    static std::string NotePath(const std::string& noteFolder);

private:
    std::string Path;
    std::string Expected;
};
