#pragma once
// The application object: its notify is the last line of the error
// boundary, for any handler that did not go through Guarded.

#include <QApplication>

class VorelApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};
