#pragma once

#include <QApplication>
#include <functional>

namespace perlinex {

// The application object: where the program's ends and a reopened collection unwind to from
// any event handler, and the last resort for an error that nothing else caught.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

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
