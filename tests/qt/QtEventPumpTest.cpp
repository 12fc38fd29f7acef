#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "qt/QtPlatform.h"

namespace tesvarin {
namespace {

// Counts the queued calls that a pump delivered.
struct Queue {
  void Post() {
    QMetaObject::invokeMethod(QCoreApplication::instance(), [this] { ++Delivered; }, Qt::QueuedConnection);
  }
  int Delivered = 0;
};

void EnsureApplication() {
  static int Argc = 1;
  static char Name[] = "qt_tests";
  static char* Argv[] = {Name, nullptr};
  if (QApplication::instance() == nullptr) new QApplication(Argc, Argv);
}

TEST(QtEventPump, HandlesInputAtOnceThenOnlyAfterItsInterval) {
  EnsureApplication();
  Queue Q;
  qt::QtEventPump Slow(60 * 60 * 1000);
  Q.Post();
  Slow.ProcessMessages();
  EXPECT_EQ(Q.Delivered, 1);
  Q.Post();
  Slow.ProcessMessages();  // within the interval: a loop step costs no event handling
  EXPECT_EQ(Q.Delivered, 1);

  qt::QtEventPump Eager(0);
  Eager.ProcessMessages();
  EXPECT_EQ(Q.Delivered, 2);
  Q.Post();
  Eager.ProcessMessages();
  EXPECT_EQ(Q.Delivered, 3);
}

}  // namespace
}  // namespace tesvarin
