#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>
#include <type_traits>
#include <utility>

// Long pure work off the main thread. work runs on Qt's global thread pool;
// done then receives its result on context's thread (the main thread, for
// every model, store and service object), unless context is gone by then, in
// which case the result is dropped. work must touch nothing but what it
// captured by value, and must not throw.
namespace Background {

template<typename Work, typename Done>
void run(QObject *context, Work work, Done done)
{
    using Result = std::invoke_result_t<Work &>;
    auto *watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context,
                     [watcher, done = std::move(done)]() mutable {
                         watcher->deleteLater();
                         done(watcher->result());
                     });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}

} // namespace Background
