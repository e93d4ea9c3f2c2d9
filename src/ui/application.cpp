#include "ui/application.h"

#include "db/errorhandler.h"

namespace perlinex {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const ProgramEnded&) {
        if (!ended_) {
            ended_ = true;
            if (onEnd)
                onEnd();
            closeAllWindows();
            quit();
        }
        return true;
    }
}

} // namespace perlinex
