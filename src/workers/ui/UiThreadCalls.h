#pragma once

#include <functional>
#include <thread>

class QObject;

namespace quenderlink {

// Runs `call` on the thread of `context` and returns once it has run, so that
// what the call refers to stays valid throughout. On that thread itself it runs
// at once: a blocking post to one's own thread would never return.
void CallOnThreadOf(QObject* context, const std::function<void()>& call);

// Queues `call` to run on the thread of `context` and returns at once; the
// call is dropped when `context` is destroyed first.
void PostToThreadOf(QObject* context, std::function<void()> call);

// Joins a worker that reports through CallOnThreadOf to this thread: its calls
// are served until `workerDone` reads true (its last call was handled), and
// only then is it joined, since a worker blocked in a call cannot end.
void JoinServingCalls(std::thread& worker, const std::function<bool()>& workerDone);

}  // namespace quenderlink
