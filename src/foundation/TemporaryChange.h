#pragma once
// Gives a variable another value for the lifetime of a scope: the old value
// is put back when the scope ends, also when it ends by an error. Meant for
// values whose assignment cannot fail (flags, rectangles, pointers).

#include <utility>

template <class T> class [[nodiscard]] TemporaryChange {
public:
    TemporaryChange(T& variable, T value) : Variable(variable), Saved(std::exchange(variable, std::move(value))) {}
    ~TemporaryChange() { Variable = std::move(Saved); }
    TemporaryChange(const TemporaryChange&) = delete;
    TemporaryChange& operator=(const TemporaryChange&) = delete;

    // The value that comes back.
    const T& Old() const { return Saved; }

private:
    T& Variable;
    T Saved;
};
