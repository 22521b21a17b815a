#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

// Work done on a thread of its own, one piece at a time, so that the window stays responsive; its
// results come back to the thread that made the worker (the UI thread) as calls queued on that
// thread's event loop.
class BackgroundWorker {
public:
    // A step for the UI thread.
    using Step = std::function<void()>;
    // Hands a step to the UI thread while the work runs (progress, say).
    using Post = std::function<void(Step)>;

    BackgroundWorker();
    // Waits for the work in hand; steps it has not handed over yet are dropped.
    ~BackgroundWorker();
    BackgroundWorker(const BackgroundWorker&) = delete;
    BackgroundWorker& operator=(const BackgroundWorker&) = delete;

    // Waits for any earlier work, then runs work on a new thread. The step work returns runs on
    // the UI thread afterwards, and with it the worker is no longer busy. work must not throw.
    void Start(std::function<Step(const Post& post)> work);

    // From Start until the step of its work has run.
    bool Busy() const { return busy_; }

    // Waits until the work's thread has ended (its last step may still be queued).
    void Wait();

private:
    std::unique_ptr<QObject> receiver_;  // queued steps go when it goes
    std::thread thread_;
    bool busy_ = false;
    std::uint64_t runs_ = 0;  // Starts so far, so that a stale last step is known as one
};
