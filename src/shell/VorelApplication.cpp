#include "shell/VorelApplication.h"

#include "shell/EventBoundary.h"

bool VorelApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    Guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
