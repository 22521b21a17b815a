#include "app/BackgroundWorker.h"

#include <QMetaObject>

BackgroundWorker::BackgroundWorker() : receiver_(std::make_unique<QObject>()) {}

BackgroundWorker::~BackgroundWorker() {
    Wait();
}

void BackgroundWorker::Wait() {
    if (thread_.joinable()) thread_.join();
}

void BackgroundWorker::Start(std::function<Step(const Post& post)> work) {
    Wait();
    busy_ = true;
    // The last step of an earlier run may still be queued; only this run's ends the busy time.
    const std::uint64_t run = ++runs_;
    QObject* receiver = receiver_.get();
    const Post post = [receiver](Step step) {
        QMetaObject::invokeMethod(receiver, std::move(step), Qt::QueuedConnection);
    };
    thread_ = std::thread([this, work = std::move(work), post, run] {
        Step last = work(post);
        post([this, last = std::move(last), run] {
            if (run == runs_) busy_ = false;
            if (last) last();
        });
    });
}
