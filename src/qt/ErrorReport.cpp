#include "qt/ErrorReport.h"

#include <QApplication>
#include <QMessageBox>

#include "shell/QtText.h"

namespace tesvarin::qt {

namespace {

std::function<void(std::string_view)>& Reporter() {
  static std::function<void(std::string_view)> R;
  return R;
}

}  // namespace

void SetErrorReport(std::function<void(std::string_view Text)> Report) { Reporter() = std::move(Report); }

void ReportError(const std::exception& Error) {
  if (Reporter()) {
    Reporter()(Error.what());
    return;
  }
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), Q(Error.what()));
}

}  // namespace tesvarin::qt
