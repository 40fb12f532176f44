// Which page the entry window shows and which buttons are enabled, after each
// button and after 追加, 更新, 削除 and an import.
#include "ui/EntryFormState.h"

#include <functional>
#include <gtest/gtest.h>
#include <ostream>

using namespace kc;

namespace {

struct Shown
{
    int index;
    bool blank;
    bool add, update, del;
    bool first, previous, next, last;
    bool operator==(const Shown &) const = default;
};

void PrintTo(const Shown &s, std::ostream *os)
{
    *os << "index " << s.index << (s.blank ? " blank" : " entry") << " add " << s.add << " update "
        << s.update << " delete " << s.del << " << " << s.first << " < " << s.previous << " > "
        << s.next << " >> " << s.last;
}

Shown shown(const EntryFormState &s)
{
    return {s.currentIndex(),    s.onBlankPage(),   s.addEnabled(),
            s.updateEnabled(),   s.deleteEnabled(), s.firstEnabled(),
            s.previousEnabled(), s.nextEnabled(),   s.lastEnabled()};
}

// An entry on screen, the blank page of a new one.
constexpr Shown entryAt(int i, bool back, bool forward)
{
    return {i, false, false, true, true, back, back, forward, forward};
}
constexpr Shown blankAt(int i, bool back)
{
    return {i, true, true, false, false, back, back, false, false};
}

struct Row
{
    const char *label;
    int loaded; // entries when the window opened
    std::function<void(EntryFormState &)> act;
    Shown expected;
};

TEST(EntryFormState, PageAndButtonsFollowEachStep)
{
    using S = EntryFormState;
    const std::vector<Row> rows {
        {"empty: the blank page, nothing back", 0, {}, blankAt(0, false)},
        {"first added: the next blank page", 0, [](S &s) { s.afterAdd(1); }, blankAt(1, true)},
        {"opened with three: the blank page", 3, {}, blankAt(3, true)},
        {"<", 3, [](S &s) { s.previous(); }, entryAt(2, true, true)},
        {"< to the first", 3,
         [](S &s) {
             s.previous();
             s.previous();
             s.previous();
         },
         entryAt(0, false, true)},
        {"<< then >", 3,
         [](S &s) {
             s.first();
             s.next();
         },
         entryAt(1, true, true)},
        {"> past the last", 3,
         [](S &s) {
             s.first();
             s.next();
             s.next();
             s.next();
         },
         blankAt(3, true)},
        {"<< with nobody", 0, [](S &s) { s.first(); }, blankAt(0, false)},
        {"更新 moves on to the next", 3, [](S &s) { s.afterUpdate(1); }, entryAt(2, true, true)},
        {"更新 of the last: the blank page", 3, [](S &s) { s.afterUpdate(2); }, blankAt(3, true)},
        {"削除: the blank page", 3, [](S &s) { s.afterDelete(2); }, blankAt(2, true)},
        {"削除 of the only one", 1, [](S &s) { s.afterDelete(0); }, blankAt(0, false)},
        {"import of one: shown", 0, [](S &s) { s.afterImport(1); }, entryAt(0, false, true)},
        {"import of none", 0, [](S &s) { s.afterImport(0); }, blankAt(0, false)},
        {"full: the last entry, never a blank page", 300, {}, entryAt(299, true, false)},
        {"full: << then >>", 300,
         [](S &s) {
             s.first();
             s.last();
         },
         entryAt(299, true, false)},
        {"full: 更新 of the last stays", 300, [](S &s) { s.afterUpdate(299); },
         entryAt(299, true, false)},
        {"full: 追加 of the 300th", 299, [](S &s) { s.afterAdd(300); }, entryAt(299, true, false)},
    };
    for (const Row &row : rows) {
        EntryFormState s(row.loaded);
        if (row.act)
            row.act(s);
        EXPECT_EQ(shown(s), row.expected) << row.label;
    }
}

TEST(EntryFormState, CaptionAndIdFollowThePage)
{
    EntryFormState s(3);
    EXPECT_EQ(s.shownId(), 103);
    EXPECT_EQ(s.caption(), QStringLiteral("申込受付 [新規登録]"));
    s.previous();
    EXPECT_EQ(s.shownId(), 102);
    EXPECT_EQ(s.caption(), QStringLiteral("申込受付 [登録内容変更]"));
}

} // namespace
