#include "ui/application.h"

#include "ui/errorhandler.h"

namespace perlinex {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

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

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
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
        unexpected(tr("An unexpected error has occurred."));
    }
    return true;
}

} // namespace perlinex
