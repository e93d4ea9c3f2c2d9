#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace perlinex::db {

// The engine's quick check of a collection file's structure, run in a worker thread on a
// connection of its own, so that the window stays in use while the check reads the whole
// file. The program's own connection keeps the file locked, so the worker reads it unlocked
// (OpenMode::ReadUnlocked): a store written meanwhile can make a whole file look damaged, and
// the caller confirms damage on its own connection before anything is repaired.
class BackgroundCheck {
public:
    // What the check found: whole, or not, with the engine's findings (or why the file could
    // not be read).
    using Finding = std::function<void(bool whole, const QString& detail)>;
    // Called in the worker thread before it reads; stopping is raised when the check is to
    // end. Tests hold the check there.
    using WorkerHook = std::function<void(const std::atomic<bool>& stopping)>;

    BackgroundCheck();
    ~BackgroundCheck();
    BackgroundCheck(const BackgroundCheck&) = delete;
    BackgroundCheck& operator=(const BackgroundCheck&) = delete;

    // Starts checking the file at path, after stopping a check still running. found is called
    // in the thread that made this object once the check ends, unless stop() comes first.
    void start(const QString& path, Finding found);
    // Ends a running check and waits for its thread; what it found is dropped. Called before
    // the file is closed, replaced or the program ends.
    void stop();
    bool isRunning() const;

    static void setWorkerHook(WorkerHook hook);

private:
    struct Shared;
    void deliver(unsigned run, bool whole, const QString& detail);

    QObject receiver_; // lives in the thread that made this object, where findings go
    std::shared_ptr<Shared> shared_;
    std::unique_ptr<QThread> thread_;
    Finding found_;
    unsigned run_ = 0; // which start() a finding belongs to
};

} // namespace perlinex::db
