#pragma once

#include "profile/ContestSettings.h"
#include "profile/IniDocument.h"
#include "profile/OperatorProfile.h"

#include <QString>

// The operator profile file: keyer timing, paddle features, operator identity, the twelve stored
// messages with their titles and the contest settings, in the sections Timing, Modes, Operator,
// Messages and Contest. The values in memory are OperatorProfile's; only the file side lives here.

// A profile keeps at most this many characters of a message (over ten hours of sending at 25 words
// per minute), so that a profile always fits in a file of its own: see ProfileFile.cpp.
constexpr qsizetype MaxMessageLength = 80'000;

struct ProfileRead {
    ProfileValues profile;
    // Why the file could not be read (the profile then holds the defaults) or is no operator profile,
    // which of its messages were cut to MaxMessageLength, or that its serial number was damaged.
    ProfileProblem problem;
    // Read, and an operator profile: saves of this profile may replace the file.
    bool writable = false;
};

// A profile holds "[Operator]", "MyCall=", "Name=" and "QTH=" somewhere, in exactly these letter
// cases: in a file's bytes, as the operator scan looks, or in a document's text, UTF-16 too.
bool IsOperatorFile(const QByteArray& text);
bool IsOperatorProfile(const IniDocument& document);
// Whether the file can be read and is an operator profile.
bool HoldsOperatorProfile(const QString& file);
// Empty, or a folder ending in a separator: no operator is chosen.
bool NamesNoProfile(const QString& file);

// Reads the profile; a missing file, section or key, or a path that names no file, gives the default,
// a text that is no number gives the key's default, and every number is held within its control's
// range. Modes take only the exact texts "ON" and "RIGHT". A message joins its piece keys and M<n>
// (see PutStoredMessage); a longer one than MaxMessageLength is cut to it, and said so.
ProfileRead ReadProfile(const QString& file);
ProfileValues ProfileFromDocument(const IniDocument& document);

// What a save may do to the file it names, so that it writes nothing but an operator profile, and
// never over a profile that the settings were not loaded from.
enum class ProfileWrite {
    Replace, // the profile the settings were loaded from, while it is there and an operator profile
    Create,  // a new profile (New Operator, an edit under a new name): only where no file is
    Choose,  // Save As: a new file, or the operator profile the operator chose to replace
};

// Writes every profile key in the order Timing, Modes, Operator, Messages, Contest, so that a new file lists
// them in that order, in one replacement of the file: the settings as the controls hold them, the tone in
// hertz and the spacings as their displays show them. CR and LF in every text become blanks in the
// profile's own strings too, so the caller can keep the cleaned messages. A path that names no file
// (empty, or ending in a separator) is neither read nor written, silently. A file that could not be
// read, or that how does not allow, is not written.
ProfileProblem WriteProfile(const QString& file, ProfileValues& profile, ProfileWrite how);
void PutProfile(IniDocument& document, ProfileValues& profile);

// Stores the contest settings alone, as a contact or the operator changes them, with the same rules.
ProfileProblem StoreContestSettings(const QString& file, const ContestSettings& settings);

// Stores one message and its title, as the message editor does, into the profile the settings were
// loaded from, with the same rules as WriteProfile.
ProfileProblem StoreMessage(const QString& file, int number, QString& text, QString& title);

// What the operator is told when the settings are not saved into file because they were not loaded
// from it: no operator is chosen, or the file was missing, unreadable or no profile when it was loaded.
QString UnloadedProfileProblem(const QString& file);

// A message longer than MaxMessageLength is cut to it first. A message longer than 250 characters is
// stored as pieces under "M<n>,1", "M<n>,2", ... and the rest
// under "M<n>"; piece keys left from an earlier, longer text are removed. Reading trims the blanks at
// both ends of every value, so a piece is cut only where the next one starts with a non-blank, and a
// piece that ends in blanks gets a "*" after them, which StoredMessage drops again (a piece never
// ends in a blank and a "*" of the text itself). A piece then holds at most 247 blanks in a row, so
// longer runs in a long message are shortened to 247. Every change (CR and LF to blanks, long runs
// shortened) is made in text too, so that it equals what a read gives back, apart from the blanks at
// its two ends, which no profile value keeps.
void PutStoredMessage(IniDocument& document, int number, QString& text);

// The pieces in order, up to the first missing one, followed by M<n>, each read whole however long;
// empty when nothing is stored.
QString StoredMessage(const IniDocument& document, int number);

// Save As refuses any path whose capitals contain "OPERATOR.INI", in any folder or file name.
bool IsProtectedProfilePath(const QString& path);
