#pragma once

#include "profile/OperatorProfile.h"

#include <QString>
#include <array>

struct TitledMessage {
    QString title; // at most five characters, as the title box shows
    QString text;  // in the stored form, macros unexpanded
};

// The twelve messages a new operator's profile starts with, for message 1 to 12: calls, a contest
// exchange with its serial number, and the short requests and answers of a contact.
const std::array<TitledMessage, MessageCount>& StarterMessages();
