#include "workers/ui/UiThreadCalls.h"

#include <gtest/gtest.h>

#include <QObject>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <memory>
#include <thread>

#include "support/DialogTesting.h"

namespace quenderlink {
namespace {

// A window as the views are: its worker reports through blocking calls until the
// window, on its way out, tells it to stop.
class CallingWindow : public QObject {
 public:
  explicit CallingWindow(std::atomic<bool>& workerEnded) : workerEnded_(workerEnded) {}
  ~CallingWindow() override {
    stop_ = true;
    JoinServingCalls(worker_, [this] { return finished_; });
  }

  int served = 0;

 private:
  void Work() {
    while (!stop_) CallOnThreadOf(this, [this] { ++served; });
    CallOnThreadOf(this, [this] { finished_ = true; });
    workerEnded_ = true;
  }

  std::atomic<bool>& workerEnded_;
  std::atomic<bool> stop_{false};
  bool finished_ = false;
  std::thread worker_{[this] { Work(); }};  // last: started once the rest exists
};

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

  // A window destroyed while its worker calls serves the pending call and joins the worker.
  std::atomic<bool> workerEnded{false};
  auto window = std::make_unique<CallingWindow>(workerEnded);
  // The worker is blocked in its next call by now, which only the window's thread can serve.
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->served >= 3; }, 2000));
  window.reset();
  EXPECT_TRUE(workerEnded);
}

}  // namespace
}  // namespace quenderlink
