#pragma once
// A companion window that is built the first time it is wanted, so that a
// window the child may never open costs nothing at start-up. It either owns
// what its factory made or refers to a window someone else owns.

#include <functional>
#include <memory>

template <class Window> class LazyWindow {
public:
    using Factory = std::function<std::unique_ptr<Window>()>;

    void SetFactory(Factory factory) {
        Make = std::move(factory);
        Owned.reset();
        Current = nullptr;
    }
    void SetExisting(Window* window) {
        Make = nullptr;
        Owned.reset();
        Current = window;
    }
    // Builds the window when it is wanted for the first time; nullptr when
    // there is neither a window nor a factory.
    Window* Get() {
        if (!Current && Make) {
            Owned = Make();
            Current = Owned.get();
        }
        return Current;
    }
    // The window if it has been built; never builds it.
    Window* IfMade() const { return Current; }

private:
    Factory Make;
    std::unique_ptr<Window> Owned;
    Window* Current = nullptr;
};
