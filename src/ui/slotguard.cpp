#include "ui/slotguard.h"

#include "db/dberror.h"
#include "ui/errorhandler.h"

#include <QtGlobal>

namespace perlinex {

namespace {

SlotErrorSettler& settler() {
    static SlotErrorSettler s;
    return s;
}

void logError(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const ProgramEnded& e) {
        qWarning("A slot ended the program: %s", qUtf8Printable(e.reason));
    } catch (const CollectionReopened&) {
        qWarning("A slot reopened the collection");
    } catch (const db::DbError& e) {
        qWarning("A slot failed: %d %s", e.number(), qUtf8Printable(e.text()));
    } catch (const std::exception& e) {
        qWarning("A slot failed: %s", e.what());
    } catch (...) {
        qWarning("A slot failed");
    }
}

} // namespace

void setSlotErrorSettler(SlotErrorSettler s) {
    settler() = std::move(s);
}

bool runGuarded(const std::function<void()>& action) noexcept {
    try {
        action();
        return true;
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        try {
            if (settler())
                settler()(error);
            else
                logError(error);
        } catch (...) {
            // A settler must not throw; should one, the slot still ends here.
            logError(std::current_exception());
        }
        return false;
    }
}

} // namespace perlinex
