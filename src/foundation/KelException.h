#pragma once
// The exception classes of the system. Every failure carries only a message,
// and library messages begin with the name of the failing operation.

#include <stdexcept>
#include <string>

// Foundation errors; the world reports every KelException (and descendant)
// with the offer to quit.
class KelException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Engine errors: script syntax, world and room errors.
class StdException : public KelException {
public:
    using KelException::KelException;
};

// A hit box that was asked for by ID does not exist.
class SHException : public KelException {
public:
    using KelException::KelException;
};

// Image library, decoding and surface errors.
class ZQ5Exception : public KelException {
public:
    using KelException::KelException;
};

// The silent abort: signals the end of input to a reader loop and is never
// shown to anyone. Deliberately not a KelException, so callers catch it by type.
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

// A file could not be opened or created (the platform's file-stream error).
class FileOpenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A data file that ships with the program (the image library, the script, the
// region map) cannot be used. Start-up stops on it before any saved game is
// read or written, so the message names the file and nothing else is at risk.
class DataFileDamaged : public KelException {
public:
    DataFileDamaged(const std::string& file, const std::string& reason);
    const std::string& File() const { return Path; }
    const std::string& Reason() const { return Why; }

private:
    std::string Path;
    std::string Why;
};

// An internal consistency check failed.
class AssertionFailure : public std::runtime_error {
public:
    AssertionFailure(const std::string& source, int line);
};
