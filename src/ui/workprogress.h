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
// on screen and repaint, but take no input until the step is over.
class WorkProgress {
public:
    WorkProgress(QWidget* parent, const QString& title, const QString& label);
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    void setLabel(const QString& label);
    // Done of total; a total of 0 means not known yet (the bar then just moves).
    void report(std::int64_t done, std::int64_t total);
    // The same, in the form the store's long operations take.
    std::function<void(std::int64_t done, std::int64_t total)> callback();

private:
    BusyCursor busy_;
    std::unique_ptr<QProgressDialog> dialog_;
    QElapsedTimer sinceRepaint_;
};

} // namespace perlinex
