#include "db/sqlite/backgroundcheck.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/sqlitefile.h"

#include <QDeadlineTimer>
#include <QThread>
#include <mutex>

namespace perlinex::db {

namespace {

std::mutex hookMutex;
BackgroundCheck::WorkerHook& workerHook() {
    static BackgroundCheck::WorkerHook hook;
    return hook;
}

// The worker. Not QThread::create: its std::future makes the program link the dynamic loader
// itself (for std::call_once's thread-local storage), a library no package dependency names.
class WorkerThread final : public QThread {
public:
    explicit WorkerThread(std::function<void()> body) : body_(std::move(body)) {}

private:
    void run() override { body_(); }
    std::function<void()> body_;
};

} // namespace

// What the worker and its owner share: the stop flag, and the worker's connection while it is
// open, for interrupt() from the owner's thread.
struct BackgroundCheck::Shared {
    std::atomic<bool> stopping{false};
    std::mutex mutex;
    Database* db = nullptr;
};

BackgroundCheck::BackgroundCheck() = default;

BackgroundCheck::~BackgroundCheck() {
    stop();
}

void BackgroundCheck::setWorkerHook(WorkerHook hook) {
    const std::lock_guard lock(hookMutex);
    workerHook() = std::move(hook);
}

bool BackgroundCheck::isRunning() const {
    return thread_ != nullptr;
}

void BackgroundCheck::start(const QString& path, Finding found) {
    stop();
    found_ = std::move(found);
    const unsigned run = ++run_;
    auto shared = std::make_shared<Shared>();
    shared_ = shared;
    thread_ = std::make_unique<WorkerThread>([this, shared, path, run] {
        WorkerHook hook;
        {
            const std::lock_guard lock(hookMutex);
            hook = workerHook();
        }
        if (hook)
            hook(shared->stopping);
        bool whole = false;
        QString detail;
        try {
            auto db = openDatabaseFile(path, OpenMode::ReadUnlocked);
            {
                const std::lock_guard lock(shared->mutex);
                shared->db = db.get();
            }
            if (!shared->stopping)
                whole = quickCheck(*db, &detail);
            const std::lock_guard lock(shared->mutex);
            shared->db = nullptr;
        } catch (const DbError& e) {
            detail = e.text();
        }
        if (shared->stopping)
            return;
        // The receiver lives as long as this object, which waits for this thread before it
        // goes; a finding queued after stop() is dropped by its run number.
        QMetaObject::invokeMethod(
            &receiver_, [this, run, whole, detail] { deliver(run, whole, detail); },
            Qt::QueuedConnection);
    });
    thread_->start();
}

void BackgroundCheck::deliver(unsigned run, bool whole, const QString& detail) {
    if (run != run_ || !thread_)
        return;
    thread_->wait();
    thread_.reset();
    shared_.reset();
    const Finding found = std::move(found_);
    found_ = nullptr;
    if (found)
        found(whole, detail);
}

void BackgroundCheck::stop() {
    if (!thread_)
        return;
    shared_->stopping = true;
    // An interrupt that comes between two statements is lost, so it is repeated until the
    // worker has ended.
    do {
        const std::lock_guard lock(shared_->mutex);
        if (shared_->db)
            shared_->db->interrupt();
    } while (!thread_->wait(QDeadlineTimer(20)));
    thread_.reset();
    shared_.reset();
    found_ = nullptr;
    ++run_;
}

} // namespace perlinex::db
