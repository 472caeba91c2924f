#include "corvane/shell/QtInstanceGuard.h"

#include <QCoreApplication>
#include <QTest>
#include <QUuid>
#include <atomic>
#include <thread>

#include "forms_fixture.h"

namespace corvane::testing {
namespace {

TEST(QtInstanceGuardTest, TheFirstStartHoldsTheLockAndASecondBringsItForward) {
  application();
  const QString name = "CorvaneTest-" + QUuid::createUuid().toString(QUuid::Id128);
  auto first = std::make_unique<QtInstanceGuard>(name);
  int broughtForward = 0;
  first->onBringForward = [&] { ++broughtForward; };
  ASSERT_EQ(first->acquire(), InstanceGuard::Role::First);

  QtInstanceGuard second(name);
  EXPECT_EQ(second.acquire(), InstanceGuard::Role::Second);
  // The second start waits for the answer; the first answers from its event loop.
  std::atomic<int> answer{-1};
  std::thread asking([&] {
    QtInstanceGuard caller(name);
    answer = caller.bringFirstForward() ? 1 : 0;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return answer != -1; }, 20000));
  asking.join();
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(broughtForward, 1);

  // Once the first has ended, the next start is the first again.
  first.reset();
  QtInstanceGuard next(name);
  EXPECT_EQ(next.acquire(), InstanceGuard::Role::First);
}

TEST(QtInstanceGuardTest, NoFirstToBringForward) {
  application();
  QtInstanceGuard lonely("CorvaneTest-" + QUuid::createUuid().toString(QUuid::Id128));
  EXPECT_FALSE(lonely.bringFirstForward());
}

}  // namespace
}  // namespace corvane::testing
