#pragma once
// Runs an action when the scope that holds the guard ends, however it ends.
//
// The action runs from a destructor, and a destructor must not throw: an
// error the action raises there is swallowed, so that an error already on its
// way out of the scope is the one the caller sees, and the program is never
// ended for an error raised while another unwinds. Where the ordinary end of
// the scope must pass on the action's own errors, call Finish() there: it runs
// the action at once, lets its errors out, and leaves the destructor nothing
// to do.

#include <utility>

template <class Action> class [[nodiscard]] ScopeGuard {
public:
    explicit ScopeGuard(Action action) : Run(std::move(action)) {}
    ~ScopeGuard() {
        if (!Armed) return;
        try {
            Run();
        } catch (...) {
            // See above: the scope is already ending, by an error or not.
        }
    }
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;

    // Runs the action now, once; its errors pass on.
    void Finish() {
        Armed = false;
        Run();
    }
    // The action does not run at all.
    void Dismiss() noexcept { Armed = false; }

private:
    Action Run;
    bool Armed = true;
};
