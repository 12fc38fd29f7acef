// The application's default error report: an error that ends a command is shown as a message with its
// text, and the window goes on. Every command a widget starts runs through Guarded.
#pragma once

#include <exception>
#include <functional>
#include <string_view>

namespace tesvarin::qt {

// Replaces how errors are shown (a critical message box by default); an empty function restores it.
void SetErrorReport(std::function<void(std::string_view Text)> Report);
void ReportError(const std::exception& Error);

template <class F>
void Guarded(F&& Command) {
  try {
    Command();
  } catch (const std::exception& E) {
    ReportError(E);
  }
}

}  // namespace tesvarin::qt
