#include "ui/Translations.h"

#include <QDialogButtonBox>
#include <QLibraryInfo>
#include <QPushButton>
#include <gtest/gtest.h>

// Qt's own dialogs and standard buttons speak Japanese like the rest.
TEST(Translations, StandardButtonsAreJapanese)
{
    if (!kc::ui::installQtTranslations())
        GTEST_SKIP() << "qtbase_ja.qm is not in "
                     << QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString()
                     << " (package qt6-translations-l10n)";
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Close);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(box.button(QDialogButtonBox::Close)->text(), QStringLiteral("閉じる"));
}
