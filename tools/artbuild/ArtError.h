#pragma once
// The one error of the artwork builder: a message naming the image and the rule it breaks.

#include <stdexcept>
#include <string>

class ArtError : public std::runtime_error {
public:
    explicit ArtError(const std::string& message) : std::runtime_error(message) {}
};
