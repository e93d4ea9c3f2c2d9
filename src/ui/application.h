#pragma once

#include <QApplication>
#include <functional>

namespace perlinex {

// The application object: an end of the program thrown from any event handler unwinds to
// here, where the store is closed and the event loop quits.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Runs when the program is ended: closes every window and the store.
    std::function<void()> onEnd;
    bool ended() const { return ended_; }

private:
    bool ended_ = false;
};

} // namespace perlinex
