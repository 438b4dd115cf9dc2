#pragma once
// Gives a variable another value for the lifetime of a scope: the old value
// is put back when the scope ends, also when it ends by an exception.

template <class T> class ScopedValue {
public:
    ScopedValue(T& variable, const T& value) : Variable(variable), Saved(variable) { Variable = value; }
    ~ScopedValue() { Variable = Saved; }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

    const T& Old() const { return Saved; }

private:
    T& Variable;
    T Saved;
};
