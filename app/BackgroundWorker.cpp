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
    QObject* receiver = receiver_.get();
    const Post post = [receiver](Step step) {
        QMetaObject::invokeMethod(receiver, std::move(step), Qt::QueuedConnection);
    };
    thread_ = std::thread([this, work = std::move(work), post] {
        Step last = work(post);
        post([this, last = std::move(last)] {
            busy_ = false;
            if (last) last();
        });
    });
}
