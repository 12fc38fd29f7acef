// UTF-8 std::string <-> QString at the Qt boundary.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace tesvarin::qt {

[[nodiscard]] inline QString Q(std::string_view S) { return QString::fromUtf8(S.data(), static_cast<qsizetype>(S.size())); }
[[nodiscard]] inline std::string U(const QString& S) { return S.toUtf8().toStdString(); }

}  // namespace tesvarin::qt
