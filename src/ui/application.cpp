#include "ui/application.h"

#include "util/translation.h"

#include "ui/errorhandler.h"
#include "ui/slotguard.h"

namespace perlinex {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setSlotErrorSettler([this](std::exception_ptr error) { settle(error); });
}

Application::~Application() {
    setSlotErrorSettler({});
}

void Application::end(int status) {
    if (ended_)
        return;
    ended_ = true;
    if (onEnd)
        onEnd();
    closeAllWindows();
    exit(status);
}

void Application::unexpected(const QString& text) {
    if (!ended_ && onUnexpectedError)
        onUnexpectedError(text);
    end(1);
}

void Application::settle(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const ProgramEnded&) {
        end(0);
    } catch (const CollectionReopened&) {
        try {
            if (onCollectionReopened)
                onCollectionReopened();
        } catch (const ProgramEnded&) {
            end(0);
        } catch (const std::exception& e) {
            unexpected(QString::fromStdString(e.what()));
        }
    } catch (const db::DbError& e) {
        unexpected(QStringLiteral("%1  %2").arg(e.number()).arg(e.text()));
    } catch (const std::exception& e) {
        unexpected(QString::fromStdString(e.what()));
    } catch (...) {
        unexpected(translate("Application", "An unexpected error has occurred."));
    }
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        settle(std::current_exception());
    }
    return true;
}

} // namespace perlinex
