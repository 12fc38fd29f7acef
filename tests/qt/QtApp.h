// The one QApplication every Qt test needs, made by whichever suite starts first.
#pragma once

#include <QApplication>

namespace tesvarin {

inline void EnsureQtApplication() {
  static int Argc = 1;
  static char Name[] = "qt_tests";
  static char* Argv[] = {Name, nullptr};
  if (QApplication::instance() == nullptr) new QApplication(Argc, Argv);
}

}  // namespace tesvarin
