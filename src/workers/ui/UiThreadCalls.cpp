#include "workers/ui/UiThreadCalls.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QThread>

#if defined(__SANITIZE_THREAD__)
extern "C" {
void __tsan_acquire(void* address);
void __tsan_release(void* address);
void __tsan_ignore_thread_begin();
void __tsan_ignore_thread_end();
}
#endif

namespace quenderlink {
namespace {

// Qt hands a queued call over through futexes, which ThreadSanitizer cannot
// see. The hand-off is told to it here, and the sending thread's writes into
// Qt's own copy of the call are not counted: the receiving thread reads that
// copy only after Qt has handed it over. Nothing of this exists in other builds.
#if defined(__SANITIZE_THREAD__)
void HandOver(const void* token) { __tsan_release(const_cast<void*>(token)); }
void TakeOver(const void* token) { __tsan_acquire(const_cast<void*>(token)); }
struct QtCopyOfTheCall {
  QtCopyOfTheCall() { __tsan_ignore_thread_begin(); }
  ~QtCopyOfTheCall() { __tsan_ignore_thread_end(); }
};
#else
void HandOver(const void*) {}
void TakeOver(const void*) {}
struct QtCopyOfTheCall {};
#endif

}  // namespace

void CallOnThreadOf(QObject* context, const std::function<void()>& call) {
  if (QThread::currentThread() == context->thread()) {
    call();
    return;
  }
  HandOver(&call);
  {
    [[maybe_unused]] const QtCopyOfTheCall uncounted;
    QMetaObject::invokeMethod(
        context,
        [&call] {
          TakeOver(&call);
          call();
          HandOver(&call);
        },
        Qt::BlockingQueuedConnection);
  }
  TakeOver(&call);
}

void PostToThreadOf(QObject* context, std::function<void()> call) {
  HandOver(context);
  [[maybe_unused]] const QtCopyOfTheCall uncounted;
  QMetaObject::invokeMethod(
      context,
      [context, call = std::move(call)] {
        TakeOver(context);
        call();
      },
      Qt::QueuedConnection);
}

void JoinServingCalls(std::thread& worker, const std::function<bool()>& workerDone) {
  if (!worker.joinable()) return;
  // Each call of the worker arrives as an event, so waiting for events never spins.
  while (!workerDone())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::ExcludeUserInputEvents);
  // A call served meanwhile may have joined it already.
  if (worker.joinable()) worker.join();
}

}  // namespace quenderlink
