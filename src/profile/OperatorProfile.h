#pragma once

#include "link/KeyerCommands.h"
#include "profile/ContestSettings.h"

#include <QString>
#include <array>
#include <optional>

// The operator profile in memory: what an operator's profile file keeps, which file that is, and the
// rules of both. The main window owns it and shows it; the operator commands and the message editor
// read and change it. No widgets here; the file's own form is ProfileFile's.

constexpr int MessageCount = 12;
using MessageSlots = std::array<QString, MessageCount>;

// What the operator is told about a profile file that could not be read or saved: the file, why,
// and that it was left as it was. Nothing when all went well.
using ProfileProblem = std::optional<QString>;

enum class ProfileWrite;

struct OperatorIdentity {
    QString myCall;
    QString name;
    QString qth;

    bool operator==(const OperatorIdentity&) const = default;
};

// The keyer settings in the units of the setting controls (SettingRanges.h), each within its range.
struct KeyerTiming {
    int speed = 25;             // words per minute
    int weight = 50;            // percent
    int wordSpaceTenths = 80;   // word space x 10
    int letterSpaceTenths = 10; // (letter space - 1) x 10
    int volume = 8;             // percent
    int toneTens = 68;          // hertz / 10

    bool operator==(const KeyerTiming&) const = default;
};

// What a profile file holds, a member for each of its parts. ProfileFile.cpp lists the parts with the
// section each is read from and written to: a new per-operator value joins its part here and that
// part's keys there, a new part is a member here and a row there. The window, the operator commands
// and the message editor hand the whole profile along, so nothing else learns of a new value.
struct ProfileValues {
    // The settings as last sent to the unit (as loaded, until they are sent).
    KeyerTiming timing;
    // The operator's paddle choice, which the Keyer Features dialog shows and changes: a choice left
    // by Cancel stays, goes to the unit with the next settings transfer and is saved.
    PaddleFeatures paddles;
    OperatorIdentity identity;
    MessageSlots messages; // index 0 is message 1
    MessageSlots titles{"--", "--", "--", "--", "--", "--", "--", "--", "--", "--", "--", "--"};
    // The serial number and how its digits are keyed, which a contact or the operator changes.
    ContestSettings contest;

    bool operator==(const ProfileValues&) const = default;

    // What the unit is sent: the tone in hertz, the spacings as their displays show them.
    KeyerSettings ToSend() const;
    // Message number 1..12 as it is sent and edited: a "*" at its end only kept a blank through the file.
    QString MessageText(int number) const;
    // A new operator's profile: a serial count of its own from 1, and the starter messages in the slots
    // that hold none.
    void StartNew();
};

class OperatorProfile : public ProfileValues {
public:
    // The current profile's path (operatorFile); empty, or a folder, when no operator is chosen.
    QString file;

    // Reads file, whose values replace these; one that is missing or cannot be read gives the defaults.
    ProfileProblem Load();
    // Loaded from file and an operator profile, or last saved into it: the only file a save replaces.
    bool Loaded() const;
    // Writes file when the values were loaded from it, or makes it (New Operator, an edit under a new
    // name); otherwise writes nothing and says why. A file that names no profile is never written.
    ProfileProblem Save(bool makesProfile);
    // Save As: a new file or another operator profile, which becomes the file.
    ProfileProblem SaveAs(const QString& path);
    // Keeps message number 1..12 as edited, and stores it into the file the values were loaded from.
    // Line breaks become blanks, as in the file, and a blank they leave at its end is kept by a "*";
    // a message with no text or no title is titled "--".
    ProfileProblem SaveMessage(int number, const QString& text, QString title);
    // Stores the contest settings alone into the file the values were loaded from, as a contact or the
    // operator changes them, so the count survives whatever ends the program.
    ProfileProblem StoreContest();

private:
    ProfileProblem Write(const QString& path, ProfileWrite how);

    QString loadedFrom_;
};
