#include <gtest/gtest.h>

#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include "qt/Translations.h"
#include "QtApp.h"

namespace tesvarin {
namespace {

QString YesButtonText() {
  QMessageBox Box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("t"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  return Box.button(QMessageBox::Yes)->text();
}

TEST(QtTranslation, AJapaneseLocaleGetsJapaneseStandardButtonsOthersKeepQtsOwn) {
  EnsureQtApplication();
  const QString English = YesButtonText();
  EXPECT_EQ(qt::InstallQtTranslation(*QCoreApplication::instance(), QLocale(QLocale::English)), nullptr);
  EXPECT_EQ(YesButtonText(), English);

  const QString Folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!QDir(Folder).exists(QStringLiteral("qtbase_ja.qm"))) {
    GTEST_SKIP() << "Qt's Japanese catalogue is not installed in " << Folder.toStdString()
                 << " (package qt6-translations-l10n)";
  }
  QTranslator* Japanese = qt::InstallQtTranslation(*QCoreApplication::instance(), QLocale(QLocale::Japanese));
  ASSERT_NE(Japanese, nullptr);
  const QString Translated = YesButtonText();
  QCoreApplication::removeTranslator(Japanese);
  delete Japanese;
  EXPECT_NE(Translated, English);
  EXPECT_TRUE(Translated.contains(QString::fromUtf8("はい"))) << Translated.toStdString();
}

}  // namespace
}  // namespace tesvarin
