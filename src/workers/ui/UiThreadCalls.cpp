#include "workers/ui/UiThreadCalls.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace quenderlink {

void CallOnThreadOf(QObject* context, const std::function<void()>& call) {
  if (QThread::currentThread() == context->thread()) {
    call();
    return;
  }
  QMetaObject::invokeMethod(context, call, Qt::BlockingQueuedConnection);
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
