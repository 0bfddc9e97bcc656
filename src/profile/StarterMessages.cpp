#include "profile/StarterMessages.h"

// In the Keyboard window's keys: "[" is AR, "=" SK and ";" BT.
const std::array<TitledMessage, MessageCount>& StarterMessages() {
    static const std::array<TitledMessage, MessageCount> messages{{
        {QStringLiteral("CQ"), QStringLiteral("CQ CQ CQ DE (MYCALL) (MYCALL) (MYCALL) K (REPEAT 10)")},
        {QStringLiteral("Exch"), QStringLiteral("(HISCALL) (WPM+5)(5NN)(WPM-5) (SERIAL)")},
        {QStringLiteral("TU"), QStringLiteral("TU (MYCALL)")},
        {QStringLiteral("Call"), QStringLiteral("(MYCALL)")},
        {QStringLiteral("His"), QStringLiteral("(HISCALL)")},
        {QStringLiteral("NR"), QStringLiteral("NR (SERIAL) (SERIAL)")},
        {QStringLiteral("Test"), QStringLiteral("CQ TEST (MYCALL) (MYCALL) TEST (REPEAT 3)")},
        {QStringLiteral("AGN?"), QStringLiteral("AGN?")},
        {QStringLiteral("QRZ?"), QStringLiteral("QRZ? DE (MYCALL)")},
        {QStringLiteral("Reply"), QStringLiteral("(HISCALL) DE (MYCALL) (MYCALL) [")},
        {QStringLiteral("Info"),
         QStringLiteral("(HISCALL) DE (MYCALL) ; TNX FER CALL ; UR RST (5NN) (5NN) ; NAME (NAME) (NAME) ; "
                        "QTH (QTH) (QTH) ; HW? (HISCALL) DE (MYCALL) K")},
        {QStringLiteral("73"), QStringLiteral("TU 73 (HISCALL) DE (MYCALL) =")},
    }};
    return messages;
}
