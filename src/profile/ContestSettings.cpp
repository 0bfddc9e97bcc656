#include "profile/ContestSettings.h"

#include "profile/IniDocument.h"
#include "profile/IniFile.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

const QString ContestSection = QStringLiteral("Contest");

struct CutText {
    CutNumbers cut;
    const char* text;
};
constexpr CutText CutTexts[] = {
    {CutNumbers::Off, "OFF"}, {CutNumbers::ZeroNine, "TN"}, {CutNumbers::ZeroNineOne, "TNA"}};

QString Read(const IniDocument& document, const char* key) {
    return CutIniValue(document.Value(ContestSection, QString::fromLatin1(key)), QString());
}

} // namespace

SerialRead ReadSerialNumber(const QString& text) {
    if (text.isEmpty()) return {};
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    bool fits = false;
    const int serial = text.toInt(&fits);
    if (!digits.match(text).hasMatch() || !fits || serial < 1) return {.damaged = true};
    return {.serial = serial};
}

ContestRead ReadContestSection(const IniDocument& document) {
    const SerialRead serial = ReadSerialNumber(Read(document, "Serial"));
    ContestRead read{{std::min(serial.serial, LargestSerialNumber), Read(document, "SerialSent") == "YES"},
                     serial.damaged};
    const QString cut = Read(document, "CutNumbers");
    for (const auto& [choice, text] : CutTexts)
        if (cut == QLatin1String(text)) read.settings.cutNumbers = choice;
    return read;
}

void PutContestSection(IniDocument& document, const ContestSettings& settings) {
    document.SetValue(ContestSection, QStringLiteral("Serial"), QString::number(settings.serial));
    document.SetValue(ContestSection, QStringLiteral("SerialSent"),
                      settings.serialSent ? QStringLiteral("YES") : QStringLiteral("NO"));
    const auto chosen = std::ranges::find(CutTexts, settings.cutNumbers, &CutText::cut);
    document.SetValue(ContestSection, QStringLiteral("CutNumbers"), QString::fromLatin1(chosen->text));
}
