#pragma once

#include "ui/busycursor.h"

#include <QElapsedTimer>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

namespace perlinex {

// A window that shows how a long step of the store is getting on. The windows behind it stay
// on screen and repaint, but take no input until the step is over. A step that can be stopped
// offers Cancel (and Escape); the step asks stopRequested() or takes the stoppable callback.
class WorkProgress {
public:
    enum class Stop { NotOffered, Offered };

    WorkProgress(QWidget* parent, const QString& title, const QString& label,
                 Stop stop = Stop::NotOffered);
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    void setLabel(const QString& label);
    // Done of total; a total of 0 means not known yet (the bar then just moves). False once
    // the user has asked to stop.
    bool report(std::int64_t done, std::int64_t total);
    bool stopRequested() const;
    // The same, in the form the store's long operations take.
    std::function<void(std::int64_t done, std::int64_t total)> callback();
    // For work that can be stopped: reports, and says whether to go on.
    std::function<bool(std::int64_t done, std::int64_t total)> stoppableCallback();

private:
    BusyCursor busy_;
    std::unique_ptr<QProgressDialog> dialog_;
    QElapsedTimer sinceRepaint_;
    bool stoppable_ = false;
};

} // namespace perlinex
