#pragma once

#include <QApplication>
#include <exception>
#include <functional>

namespace perlinex {

// The application object: it settles what a window's slot could not finish (the program's end,
// a reopened collection, an error nothing else caught), handed on by the slot guard; notify()
// does the same for an event handler, as a last resort.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    ~Application() override;
    bool notify(QObject* receiver, QEvent* event) override;

    // Settles an exception caught in a slot or an event handler.
    void settle(std::exception_ptr error);

    // Runs when the program is ended: closes the store.
    std::function<void()> onEnd;
    // Runs after a damaged collection was repaired and opened again: the windows open their
    // record sets anew.
    std::function<void()> onCollectionReopened;
    // Shows an error that reached the event loop uncaught; the program then ends with exit
    // status 1.
    std::function<void(const QString& text)> onUnexpectedError;

    bool ended() const { return ended_; }

private:
    void end(int status);
    void unexpected(const QString& text);

    bool ended_ = false;
};

} // namespace perlinex
