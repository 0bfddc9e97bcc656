#include "profile/OperatorProfile.h"

#include "platform/NumberText.h"
#include "profile/ProfileFile.h"
#include "profile/SettingText.h"
#include "profile/StarterMessages.h"

KeyerSettings ProfileValues::ToSend() const {
    return {timing.speed,
            timing.weight,
            timing.toneTens * 10,
            timing.volume,
            ParseLeadingNumber(DisplayText(Setting::LetterSpace, timing.letterSpaceTenths)),
            ParseLeadingNumber(DisplayText(Setting::WordSpace, timing.wordSpaceTenths)),
            paddles};
}

QString ProfileValues::MessageText(int number) const {
    QString text = messages[number - 1];
    if (text.endsWith(u'*')) text.chop(1);
    return text;
}

ProfileProblem OperatorProfile::Load() {
    ProfileRead read = ReadProfile(file);
    static_cast<ProfileValues&>(*this) = std::move(read.profile);
    loadedFrom_ = read.writable ? file : QString();
    return read.problem;
}

bool OperatorProfile::Loaded() const {
    return !file.isEmpty() && file == loadedFrom_;
}

ProfileProblem OperatorProfile::Save(bool makesProfile) {
    if (!Loaded() && !makesProfile) return UnloadedProfileProblem(file);
    return Write(file, Loaded() ? ProfileWrite::Replace : ProfileWrite::Create);
}

ProfileProblem OperatorProfile::SaveAs(const QString& path) {
    ProfileProblem problem = Write(path, ProfileWrite::Choose);
    if (!problem) file = path;
    return problem;
}

// Line breaks go into the file as blanks, and the values in memory follow the file.
ProfileProblem OperatorProfile::Write(const QString& path, ProfileWrite how) {
    ProfileProblem problem = WriteProfile(path, *this, how);
    if (!problem) loadedFrom_ = path;
    return problem;
}

ProfileProblem OperatorProfile::SaveMessage(int number, const QString& text, QString title) {
    QString stored = text;
    stored.replace(u'\r', u' ').replace(u'\n', u' ');
    if (stored.endsWith(u' ')) stored += u'*';
    if (text.isEmpty() || title.isEmpty()) title = QStringLiteral("--");
    ProfileProblem problem = StoreMessage(Loaded() ? file : QString(), number, stored, title);
    messages[number - 1] = stored.trimmed();
    titles[number - 1] = title;
    return problem;
}

void ProfileValues::StartNew() {
    contest = {1, false, contest.cutNumbers};
    for (int i = 0; i < MessageCount; ++i) {
        if (!messages[i].isEmpty()) continue;
        messages[i] = StarterMessages()[i].text;
        titles[i] = StarterMessages()[i].title;
    }
}

ProfileProblem OperatorProfile::StoreContest() {
    if (!Loaded()) return std::nullopt;
    return StoreContestSettings(file, contest);
}
