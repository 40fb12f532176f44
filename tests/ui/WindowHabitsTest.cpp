#include "ui/PrintRenderer.h"
#include "ui/Translations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPrinter>
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

TEST(WindowHabitsTest, PrintedFilesLandInTheContestFolder)
{
    const struct
    {
        const char16_t *title;
        int day;
        const char16_t *file;
    } cases[] {
        {u"各賞受賞者一覧", 3, u"/c/各賞受賞者一覧-3日目.pdf"},
        {u"星取表", 0, u"/c/星取表.pdf"},
        {u"a/b:c*\"<>|?\nd", 15, u"/c/a_b_c_______d-15日目.pdf"},
        {u"  ", 1, u"/c/印刷-1日目.pdf"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PrintRenderer::defaultFileName(QStringLiteral("/c"), QString::fromUtf16(c.title),
                                                 c.day),
                  QString::fromUtf16(c.file));

    PrintRenderer renderer;
    renderer.setFileContext([] { return std::pair(QStringLiteral("/c"), 2); });
    QString offered;
    bool printerInstalled = false;
    renderer.setDialogHook([&](QPrinter &p) {
        offered = p.outputFileName();
        printerInstalled = !p.printerName().isEmpty();
        return false;
    });
    EXPECT_FALSE(renderer.print(kc::PrintDocument(QStringLiteral("星取表"))));
    if (!printerInstalled) {
        EXPECT_EQ(offered, QStringLiteral("/c/星取表-2日目.pdf"));
    }
}
