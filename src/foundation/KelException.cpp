#include "foundation/KelException.h"

AssertionFailure::AssertionFailure(const std::string& source, int line)
    : std::runtime_error("Assertion failure (" + source + ", line " + std::to_string(line) + ")") {}
