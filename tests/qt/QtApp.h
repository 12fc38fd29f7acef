// The one QApplication every Qt test needs, made by whichever suite starts first.
#pragma once

#include <QApplication>

namespace tesvarin {

inline void EnsureQtApplication() {
  static int Argc = 1;
  static char Name[] = "qt_tests";
  static char* Argv[] = {Name, nullptr};
  if (QApplication::instance() != nullptr) return;
  // Pixels are checked where the cells say they are: the user's display scaling and font DPI
  // stay out of the tests.
  for (const char* Scaling : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI"}) qunsetenv(Scaling);
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  new QApplication(Argc, Argv);
}

}  // namespace tesvarin
