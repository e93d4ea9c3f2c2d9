#include "ui/workprogress.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QPushButton>

namespace perlinex {

namespace {
// Often enough to look alive, seldom enough to cost nothing.
constexpr int RepaintMs = 40;
} // namespace

WorkProgress::WorkProgress(QWidget* parent, const QString& title, const QString& label, Stop stop)
    : dialog_(std::make_unique<QProgressDialog>(label, QString(), 0, 0, parent)),
      stoppable_(stop == Stop::Offered) {
    dialog_->setObjectName(QStringLiteral("workProgress"));
    dialog_->setWindowTitle(title);
    if (stoppable_) {
        auto* cancel = new QPushButton(QCoreApplication::translate("WorkProgress", "Cancel"));
        cancel->setObjectName(QStringLiteral("cmdCancel"));
        dialog_->setCancelButton(cancel);
        // The user's clicks are taken while the step runs: every other window waits.
        dialog_->setWindowModality(Qt::ApplicationModal);
    } else {
        dialog_->setWindowModality(Qt::WindowModal);
    }
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setMinimumWidth(360);
    dialog_->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceRepaint_.start();
}

WorkProgress::~WorkProgress() = default;

void WorkProgress::setLabel(const QString& label) {
    dialog_->setLabelText(label);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool WorkProgress::report(std::int64_t done, std::int64_t total) {
    if (sinceRepaint_.elapsed() < RepaintMs)
        return !stopRequested();
    sinceRepaint_.restart();
    if (total > 0) {
        // The bar counts in thousandths so that any total fits its int range.
        dialog_->setMaximum(1000);
        dialog_->setValue(int(std::min<std::int64_t>(1000, done * 1000 / total)));
    } else {
        dialog_->setMaximum(0);
    }
    QCoreApplication::processEvents(stoppable_ ? QEventLoop::AllEvents
                                               : QEventLoop::ExcludeUserInputEvents);
    return !stopRequested();
}

bool WorkProgress::stopRequested() const {
    return stoppable_ && dialog_->wasCanceled();
}

std::function<void(std::int64_t, std::int64_t)> WorkProgress::callback() {
    return [this](std::int64_t done, std::int64_t total) { report(done, total); };
}

std::function<bool(std::int64_t, std::int64_t)> WorkProgress::stoppableCallback() {
    return [this](std::int64_t done, std::int64_t total) { return report(done, total); };
}

} // namespace perlinex
