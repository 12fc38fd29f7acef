#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "QtApp.h"
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

TEST(QtEventPump, HandlesInputAtOnceThenOnlyAfterItsInterval) {
  EnsureQtApplication();
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
