#pragma once

// Readable values in failure messages: text as text, and the structs the
// tests compare whole, field by field, so a failure names what differs.
#include "entries/EntryValidation.h"
#include "store/Records.h"

#include <QString>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#ifdef KC_TEST_WIDGETS
#include "ui/RulesFormState.h"
#endif

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace kc::test {

using Fields = std::vector<std::pair<std::string, std::string>>;

// One field; an array element by element and a struct with fieldsOf field by
// field, so a difference names the index or the inner field.
template<typename V> void addField(Fields &out, const std::string &name, const V &v)
{
    if constexpr (requires { fieldsOf(v); }) {
        for (const auto &[inner, text] : fieldsOf(v))
            out.emplace_back(name + '.' + inner, text);
    } else if constexpr (requires { std::tuple_size<V>::value; }) {
        for (size_t i = 0; i < v.size(); ++i)
            addField(out, name + '[' + std::to_string(i) + ']', v[i]);
    } else if constexpr (std::is_enum_v<V>) {
        out.emplace_back(name, std::to_string(int(v)));
    } else {
        out.emplace_back(name, testing::PrintToString(v));
    }
}

// fields("a", s.a, "b", s.b, ...); KC_FIELD(s, a) writes the pair.
template<typename... Rest> Fields fields(const Rest &...rest)
{
    Fields out;
    const auto add
        = [&](const auto &self, const char *name, const auto &v, const auto &...more) -> void {
        addField(out, name, v);
        if constexpr (sizeof...(more) > 0)
            self(self, more...);
    };
    add(add, rest...);
    return out;
}
#define KC_FIELD(s, f) #f, s.f

inline void printFields(const Fields &fs, std::ostream *os)
{
    *os << '{';
    for (const auto &[name, text] : fs)
        *os << ' ' << name << '=' << text;
    *os << " }";
}

// "name = value" lines for a golden file: an array of numbers or texts on one
// line, each element of an array of structs on its own.
inline QByteArray fieldLines(const Fields &fs)
{
    std::string out, open; // open: the array or element the current line holds
    for (const auto &[name, text] : fs) {
        const size_t bracket = name.find('['), close = name.find(']');
        const bool scalarElement = bracket != std::string::npos && close + 1 == name.size();
        const std::string group = bracket == std::string::npos ? std::string()
            : scalarElement                                    ? name.substr(0, bracket)
                                                               : name.substr(0, close + 1);
        if (!open.empty() && group != open)
            out += " }\n";
        if (group.empty())
            out += name + " = " + text + '\n';
        else if (group != open)
            out += group + " = { " + (scalarElement ? text : name.substr(close + 2) + '=' + text);
        else
            out += (scalarElement ? ", " + text : ' ' + name.substr(close + 2) + '=' + text);
        open = group;
    }
    if (!open.empty())
        out += " }\n";
    return QByteArray::fromStdString(out);
}

// For EXPECT_PRED_FORMAT2: equal, or the fields that differ.
template<typename T>
testing::AssertionResult sameFields(const char *actualText, const char *expectedText,
                                    const T &actual, const T &expected)
{
    if (actual == expected)
        return testing::AssertionSuccess();
    testing::AssertionResult r = testing::AssertionFailure();
    r << actualText << " differs from " << expectedText << ":";
    const Fields a = fieldsOf(actual), e = fieldsOf(expected);
    for (size_t i = 0; i < a.size() && i < e.size(); ++i)
        if (a[i].second != e[i].second)
            r << "\n  " << a[i].first << " is " << a[i].second << ", expected " << e[i].second;
    return r;
}

} // namespace kc::test

// EXPECT_EQ for a struct with fieldsOf, naming each differing field.
#define EXPECT_FIELDS_EQ(actual, expected)                                                         \
    EXPECT_PRED_FORMAT2(::kc::test::sameFields, actual, expected)

#define KC_PRINT_FIELDS(Type)                                                                      \
    inline void PrintTo(const Type &v, std::ostream *os)                                           \
    {                                                                                              \
        ::kc::test::printFields(fieldsOf(v), os);                                                  \
    }

namespace kc {

inline test::Fields fieldsOf(const RulesRecord &r)
{
    return test::fields(
        KC_FIELD(r, flag), KC_FIELD(r, rulesStart), KC_FIELD(r, title), KC_FIELD(r, pickCount),
        KC_FIELD(r, slotPoints), KC_FIELD(r, includeTopRanks), KC_FIELD(r, useReserve),
        KC_FIELD(r, bonusType), KC_FIELD(r, goldStarBonus), KC_FIELD(r, silverStarBonus),
        KC_FIELD(r, streakMin), KC_FIELD(r, streakBonus), KC_FIELD(r, currentDay),
        KC_FIELD(r, prizePoints), KC_FIELD(r, prizeRanks), KC_FIELD(r, prizeNames),
        KC_FIELD(r, dayPrizePoints), KC_FIELD(r, dayPrizeNames), KC_FIELD(r, dayPrizePoints2),
        KC_FIELD(r, dayPrizeNames2), KC_FIELD(r, prizeExtra), KC_FIELD(r, tieRule),
        KC_FIELD(r, memo), KC_FIELD(r, reserved));
}
KC_PRINT_FIELDS(RulesRecord)

inline test::Fields fieldsOf(const EntryRecord &e)
{
    return test::fields(KC_FIELD(e, shikona), KC_FIELD(e, furigana), KC_FIELD(e, memberName),
                        KC_FIELD(e, birth), KC_FIELD(e, tel), KC_FIELD(e, fax), KC_FIELD(e, mail),
                        KC_FIELD(e, picks), KC_FIELD(e, enteredPicks), KC_FIELD(e, dayPickPoints),
                        KC_FIELD(e, reserveList), KC_FIELD(e, reserve), KC_FIELD(e, dayGoldBonus),
                        KC_FIELD(e, daySilverBonus), KC_FIELD(e, dayStreakBonus),
                        KC_FIELD(e, daySpareArray), KC_FIELD(e, dayTotal), KC_FIELD(e, dayRank),
                        KC_FIELD(e, dayScoreRank), KC_FIELD(e, dayWins), KC_FIELD(e, totalScore),
                        KC_FIELD(e, midScore));
}
KC_PRINT_FIELDS(EntryRecord)

inline test::Fields fieldsOf(const ValidationResult &v)
{
    return test::fields(KC_FIELD(v, result), KC_FIELD(v, message), KC_FIELD(v, box),
                        KC_FIELD(v, pickIndex));
}
KC_PRINT_FIELDS(ValidationResult)

} // namespace kc

#ifdef KC_TEST_WIDGETS
namespace kc::ui {

inline test::Fields fieldsOf(const PrizeRowForm &p)
{
    return test::fields(KC_FIELD(p, on), KC_FIELD(p, waiting), KC_FIELD(p, rank), KC_FIELD(p, name),
                        KC_FIELD(p, points));
}
KC_PRINT_FIELDS(PrizeRowForm)

inline test::Fields fieldsOf(const DayPrizeForm &d)
{
    return test::fields(KC_FIELD(d, on), KC_FIELD(d, points));
}
KC_PRINT_FIELDS(DayPrizeForm)

inline test::Fields fieldsOf(const RulesForm &f)
{
    return test::fields(
        KC_FIELD(f, pickCount), KC_FIELD(f, slotPoints), KC_FIELD(f, slotActive),
        KC_FIELD(f, includeTopRanks), KC_FIELD(f, useReserve), KC_FIELD(f, simpleBonus),
        KC_FIELD(f, goldStar), KC_FIELD(f, silverStar), KC_FIELD(f, streakOn),
        KC_FIELD(f, streakMin), KC_FIELD(f, streakBonus), KC_FIELD(f, smallerIdFirst),
        KC_FIELD(f, prizes), KC_FIELD(f, dayPrizes), KC_FIELD(f, prizeTotal),
        KC_FIELD(f, participants), KC_FIELD(f, perParticipant), KC_FIELD(f, darkShade),
        KC_FIELD(f, rulesLocked), KC_FIELD(f, prizesLocked), KC_FIELD(f, openOnPrizeTab),
        KC_FIELD(f, stored), KC_FIELD(f, participantCount));
}
KC_PRINT_FIELDS(RulesForm)

} // namespace kc::ui
#endif
