#include "platform/NumberText.h"

#include <QTest>
#include <limits>

class NumberTextTest : public QObject {
    Q_OBJECT
private slots:
    void roundsHalvesToEven();
    void keepsRoundingWithinRange();
    void parsesLeadingNumber();
    void parsesWholeNumber();
    void showsNumberWithLeadingBlank();
};

void NumberTextTest::roundsHalvesToEven() {
    QCOMPARE(RoundHalfEven(130.5), 130LL);
    QCOMPARE(RoundHalfEven(131.5), 132LL);
    QCOMPARE(RoundHalfEven(0.5), 0LL);
    QCOMPARE(RoundHalfEven(2.5), 2LL);
    QCOMPARE(RoundHalfEven(-2.5), -2LL);
    QCOMPARE(RoundHalfEven(-3.5), -4LL);
    QCOMPARE(RoundHalfEven(130.56), 131LL);
    QCOMPARE(RoundHalfEven(65.28), 65LL);
    QCOMPARE(RoundHalfEven(1200.0 / 25), 48LL);
}

void NumberTextTest::keepsRoundingWithinRange() {
    QCOMPARE(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0LL);
    QCOMPARE(RoundHalfEven(std::numeric_limits<double>::infinity()), std::numeric_limits<long long>::max());
    QCOMPARE(RoundHalfEven(-std::numeric_limits<double>::infinity()), std::numeric_limits<long long>::min());
    QCOMPARE(RoundHalfEven(1e300), std::numeric_limits<long long>::max());
}

void NumberTextTest::parsesLeadingNumber() {
    QCOMPARE(ParseLeadingNumber("  12.5abc"), 12.5);
    QCOMPARE(ParseLeadingNumber("x"), 0.0);
    QCOMPARE(ParseLeadingNumber(".5"), 0.5);
    QCOMPARE(ParseLeadingNumber(""), 0.0);
    QCOMPARE(ParseLeadingNumber(" 10"), 10.0);
    QCOMPARE(ParseLeadingNumber("\t-2.5 dots"), -2.5);
    QCOMPARE(ParseLeadingNumber("+7"), 7.0);
    QCOMPARE(ParseLeadingNumber("9."), 9.0);
    QCOMPARE(ParseLeadingNumber("3.4.5"), 3.4);
    QCOMPARE(ParseLeadingNumber("1e3"), 1.0);
    QCOMPARE(ParseLeadingNumber("1,5"), 1.0);
    QCOMPARE(ParseLeadingNumber("-"), 0.0);
    QCOMPARE(ParseLeadingNumber("."), 0.0);
    QCOMPARE(ParseLeadingNumber("- 5"), 0.0);
    QCOMPARE(ParseLeadingNumber("a12"), 0.0);
    // Arabic-Indic digits are not decimal digits of this format.
    QCOMPARE(ParseLeadingNumber(QString::fromUtf8("\u0665")), 0.0);
    QCOMPARE(ParseLeadingNumber("1" + QString(400, u'0')), 0.0);
}

void NumberTextTest::parsesWholeNumber() {
    QCOMPARE(ParseNumber(" 2.5 "), std::optional<double>(2.5));
    QCOMPARE(ParseNumber("680"), std::optional<double>(680.0));
    QCOMPARE(ParseNumber("-0.5"), std::optional<double>(-0.5));
    QCOMPARE(ParseNumber(".5"), std::optional<double>(0.5));
    QCOMPARE(ParseNumber("12."), std::optional<double>(12.0));
    QCOMPARE(ParseNumber("12.5abc"), std::nullopt);
    QCOMPARE(ParseNumber("1 2"), std::nullopt);
    QCOMPARE(ParseNumber(""), std::nullopt);
    QCOMPARE(ParseNumber("   "), std::nullopt);
    QCOMPARE(ParseNumber("."), std::nullopt);
    QCOMPARE(ParseNumber("+"), std::nullopt);
    QCOMPARE(ParseNumber("1e3"), std::nullopt);
    QCOMPARE(ParseNumber("nan"), std::nullopt);
    QCOMPARE(ParseNumber("inf"), std::nullopt);
    QCOMPARE(ParseNumber("0x10"), std::nullopt);
    QCOMPARE(ParseNumber("1" + QString(400, u'0')), std::nullopt);
}

void NumberTextTest::showsNumberWithLeadingBlank() {
    QCOMPARE(WithLeadingBlank(25), QString(" 25"));
    QCOMPARE(WithLeadingBlank(2.5), QString(" 2.5"));
    QCOMPARE(WithLeadingBlank(2.0), QString(" 2"));
    QCOMPARE(WithLeadingBlank(99 / 10.0), QString(" 9.9"));
    QCOMPARE(WithLeadingBlank(15 / 10.0 + 1), QString(" 2.5"));
    QCOMPARE(WithLeadingBlank(0.1 + 0.2), QString(" 0.3"));
    QCOMPARE(WithLeadingBlank(100 / 10.0), QString(" 10"));
    QCOMPARE(WithLeadingBlank(0), QString(" 0"));
    QCOMPARE(WithLeadingBlank(-0.0), QString(" 0"));
    QCOMPARE(WithLeadingBlank(-2.5), QString("-2.5"));
}

QTEST_GUILESS_MAIN(NumberTextTest)
#include "test_platform_numbers.moc"
