#include "platform/NumberText.h"

#include <QTest>
#include <cmath>
#include <limits>

class NumberTextTest : public QObject {
    Q_OBJECT
private slots:
    void roundsHalvesToEvenWithinRange() {
        constexpr double infinity = std::numeric_limits<double>::infinity();
        constexpr long long top = std::numeric_limits<long long>::max();
        constexpr long long bottom = std::numeric_limits<long long>::min();
        const std::pair<double, long long> cases[] = {{130.5, 130},  {131.5, 132},    {-2.5, -2},
                                                      {-3.5, -4},    {130.56, 131},   {std::nan(""), 0},
                                                      {0x1p63, top}, {infinity, top}, {-infinity, bottom}};
        for (const auto& [value, rounded] : cases)
            QCOMPARE(RoundHalfEven(value), rounded);
    }

    // Each text read as a leading number and as a whole number; U+0665 is no digit of this format.
    void parsesNumbers() {
        const struct {
            QString text;
            double leading;
            std::optional<double> whole;
        } cases[] = {{" 2.5 ", 2.5, 2.5}, {"\t-0.5", -0.5, -0.5}, {"+7", 7, 7},
                     {".5", 0.5, 0.5},    {"9.", 9, 9},           {"12.5abc", 12.5, {}},
                     {"3.4.5", 3.4, {}},  {"1e3", 1, {}},         {"1,5", 1, {}},
                     {"", 0, {}},         {"-", 0, {}},           {".", 0, {}},
                     {"inf", 0, {}},      {"\u0665", 0, {}},      {"1" + QString(400, u'0'), 0, {}}};
        for (const auto& [text, leading, whole] : cases) {
            QCOMPARE(ParseLeadingNumber(text), leading);
            QCOMPARE(ParseNumber(text), whole);
        }
    }

    void showsNumberWithLeadingBlank() {
        const std::pair<double, QString> cases[] = {{25, " 25"},         {2.5, " 2.5"},       {2.0, " 2"},
                                                    {99 / 10.0, " 9.9"}, {0.1 + 0.2, " 0.3"}, {-0.0, " 0"},
                                                    {-2.5, "-2.5"}};
        for (const auto& [value, text] : cases)
            QCOMPARE(WithLeadingBlank(value), text);
    }
};

QTEST_GUILESS_MAIN(NumberTextTest)
#include "test_platform_numbers.moc"
