#include "workers/ui/UiThreadCalls.h"

#include <gtest/gtest.h>

#include <QObject>
#include <QTimer>

#include <thread>

#include "support/DialogTesting.h"

namespace quenderlink {
namespace {

class UiThreadCallsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureApplication(); }
};

TEST_F(UiThreadCallsTest, ACallRunsOnTheContextsThreadReturnsOnceItHasRunAndEveryWorkerIsJoinedOnce) {
  QObject context;
  bool ranAtOnce = false;
  CallOnThreadOf(&context, [&] { ranAtOnce = true; });
  EXPECT_TRUE(ranAtOnce);

  std::thread::id ranOn;
  int seenByWorker = 0;
  bool done = false;
  std::thread worker([&] {
    int answer = 0;
    CallOnThreadOf(&context, [&] {
      ranOn = std::this_thread::get_id();
      answer = 42;
    });
    CallOnThreadOf(&context, [&, answer] {
      seenByWorker = answer;
      done = true;
    });
  });
  JoinServingCalls(worker, [&] { return done; });
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  EXPECT_EQ(seenByWorker, 42);

  // As a view's posted clean-up would: the worker's last call has it joined before the wait ends.
  done = false;
  worker = std::thread([&] {
    CallOnThreadOf(&context, [&] {
      QTimer::singleShot(0, &context, [&] {
        worker.join();
        done = true;
      });
    });
  });
  JoinServingCalls(worker, [&] { return done; });
  EXPECT_FALSE(worker.joinable());
  JoinServingCalls(worker, [] { return false; });  // nothing left to join: returns at once
}

}  // namespace
}  // namespace quenderlink
