#include "ui/Translations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

using namespace kc::ui;

TEST(WindowHabitsTest, StandardButtonsSpeakJapanese)
{
    if (qtTranslationFile().isEmpty())
        GTEST_SKIP() << "qtbase_ja.qm is not installed (package qt6-translations-l10n)";
    QTranslator *translator = installQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr);
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    EXPECT_FALSE(box.button(QDialogButtonBox::Save)->text().contains(u"Save"));
    // The other tests expect Qt's own captions.
    QCoreApplication::removeTranslator(translator);
    delete translator;
}
