#include "foundation/KelException.h"

AssertionFailure::AssertionFailure(const std::string& source, int line)
    : std::runtime_error("Assertion failure (" + source + ", line " + std::to_string(line) + ")") {}

DataFileDamaged::DataFileDamaged(const std::string& file, const std::string& reason)
    : KelException("The data file \"" + file + "\" cannot be used: " + reason), Path(file), Why(reason) {}
