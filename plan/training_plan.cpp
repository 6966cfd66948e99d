#include "plan/training_plan.h"

#include "engine/training_settings.h"
#include "plan/plan_json.h"
#include "platform/atomic_file.h"
#include "platform/json_text.h"
#include "protocol/records.h"
#include "users/data_folder.h"

#include <QFileInfo>
#include <QStringList>
#include <nlohmann/json.hpp>

namespace kalvero {

namespace {

constexpr std::int32_t kMinItemSeconds = 5;
constexpr std::int32_t kDefaultItemSeconds = 60;

// A lone surrogate (from damaged pasted text) would make the file unreadable for every JSON
// reader, so it is written as U+FFFD instead.
QString WithoutLoneSurrogates(QString text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (unit.isSurrogate())
            text[i] = QChar(QChar::ReplacementCharacter);
    }
    return text;
}

QString Quoted(const QString& text) {
    return JsonQuoted(WithoutLoneSurrogates(text), TJsonEscape::Ascii);
}

QString Member(const char* name, const QString& valueText, bool first = false) {
    return (first ? QString() : QStringLiteral(",")) + Quoted(QLatin1String(name)) + ':' +
           valueText;
}

QString BoolText(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

std::vector<TPlanItem> ReadItems(const TJsonDocument& doc, const TJson* items) {
    std::vector<TPlanItem> result;
    if (items == nullptr || !items->is_array())
        return result;
    for (const TJson& element : *items) {
        const TJson* settings = JsonMember(element, "settings");
        if (settings == nullptr || !settings->is_object())
            continue;
        TPlanItem item;
        item.Name = JsonString(doc, JsonMember(element, "name"));
        item.Duration = JsonInteger(JsonMember(element, "duration")).value_or(kDefaultItemSeconds);
        item.Duration = std::max(item.Duration, kMinItemSeconds);
        item.Settings = CompactJsonText(*settings);
        result.push_back(std::move(item));
    }
    return result;
}

QString ItemsText(const std::vector<TPlanItem>& items) {
    QStringList objects;
    for (const TPlanItem& item : items) {
        const QString settings = CompactObjectText(item.Settings.toUtf8());
        if (settings.isEmpty())
            continue;
        objects << '{' + Member("name", Quoted(item.Name), true) +
                       Member("duration", QString::number(item.Duration)) +
                       Member("settings", settings) + '}';
    }
    return '[' + objects.join(',') + ']';
}

QString FirstLine(const TTrainingPlan& plan) {
    if (plan.Kind == pkSequence) {
        qint64 totalSeconds = 0;
        for (const TPlanItem& item : plan.Items)
            totalSeconds += item.Duration;
        return QStringLiteral("Sequenz \"%1\" mit %2 Abschnitten (ein Umlauf %3:%4 min)")
            .arg(plan.Name, QString::number(plan.Items.size()), QString::number(totalSeconds / 60),
                 QStringLiteral("%1").arg(totalSeconds % 60, 2, 10, QChar('0')));
    }
    const QString settings = SettingsSummary(plan.Settings);
    if (plan.Name.isEmpty())
        return settings;
    return QStringLiteral("Profil \"%1\": %2").arg(plan.Name, settings);
}

QString CreatedLine(const TTrainingPlan& plan) {
    QString line = QStringLiteral("Erstellt ");
    if (!plan.Created.isEmpty())
        line += QStringLiteral("am ") + plan.Created + ' ';
    if (!plan.Therapist.isEmpty())
        line += QStringLiteral("von ") + plan.Therapist;
    return TrimLowCodes(line);
}

} // namespace

QString TrimLowCodes(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

bool TTrainingPlan::LoadFromFile(const QString& AFile) {
    TJsonDocument doc;
    if (!doc.ParseFile(AFile))
        return false;
    const TJson& root = doc.Root();
    if (!JsonInteger(JsonMember(root, "kalvero_plan")))
        return false;

    const TJson* kind = JsonMember(root, "kind");
    const bool sequence = kind != nullptr && kind->is_string() &&
                          QString::fromStdString(kind->get_ref<const std::string&>())
                                  .compare(QLatin1String("sequenz"), Qt::CaseInsensitive) == 0;
    Kind = sequence ? pkSequence : pkProfile;
    Name = JsonString(doc, JsonMember(root, "name"));
    Patient = JsonString(doc, JsonMember(root, "patient"));
    Therapist = JsonString(doc, JsonMember(root, "therapist"));
    Created = JsonString(doc, JsonMember(root, "created"));
    Note = JsonString(doc, JsonMember(root, "note"));
    Minutes = JsonInteger(JsonMember(root, "minutes")).value_or(0);
    Locked = JsonTrue(JsonMember(root, "locked"));
    SearchTest = JsonTrue(JsonMember(root, "searchtest"));
    const TJson* settings = JsonMember(root, "settings");
    Settings =
        settings != nullptr && settings->is_object() ? CompactJsonText(*settings) : QString();
    Items = ReadItems(doc, JsonMember(root, "items"));
    return Valid();
}

void TTrainingPlan::SaveToFile(const QString& AFile) const {
    QString text = '{' + Member("kalvero_plan", QStringLiteral("1"), true);
    text += Member("patient", Quoted(Patient));
    text += Member("therapist", Quoted(Therapist));
    text += Member("created", Quoted(Created));
    text += Member("note", Quoted(Note));
    text += Member("minutes", QString::number(Minutes));
    text += Member("locked", BoolText(Locked));
    text += Member("searchtest", BoolText(SearchTest));
    text += Member("name", Quoted(Name));
    text += Member(
        "kind", Quoted(Kind == pkSequence ? QStringLiteral("sequenz") : QStringLiteral("profil")));
    if (Kind == pkProfile) {
        const QString settings = CompactObjectText(Settings.toUtf8());
        if (!settings.isEmpty())
            text += Member("settings", settings);
    } else {
        text += Member("items", ItemsText(Items));
    }
    text += '}';
    WriteFileAtomic(AFile, Utf8Bom() + text.toUtf8());
}

bool TTrainingPlan::Valid() const {
    return Kind == pkProfile ? !Settings.isEmpty() : !Items.empty();
}

QString TTrainingPlan::Summary() const {
    QStringList lines{FirstLine(*this)};
    lines << (Minutes <= 0 ? QStringLiteral("Trainingszeit: ohne Begrenzung")
                           : QStringLiteral("Trainingszeit: %1 Minuten").arg(Minutes));
    if (!Therapist.isEmpty() || !Created.isEmpty())
        lines << CreatedLine(*this);
    if (Locked)
        lines << QStringLiteral("In der Patientenversion wird nur nach diesem Plan trainiert.");
    if (SearchTest)
        lines << QStringLiteral("Vor und nach dem Training: kurze Suchaufgabe.");
    const QString note = TrimLowCodes(Note);
    if (!note.isEmpty())
        lines << QString() << QStringLiteral("Hinweis: ") + note;
    return lines.join(QStringLiteral("\r\n"));
}

QString SettingsSummary(const QString& settingsText) {
    TJsonDocument doc;
    if (!doc.Parse(settingsText.toUtf8()) || !doc.Root().is_object())
        return QString();
    const TJson& settings = doc.Root();
    const auto integer = [&](const char* key) { return JsonInteger(JsonMember(settings, key)); };

    QString result;
    const auto sprite = integer("sprite_index");
    if (sprite && *sprite >= 0 && *sprite < SpriteNames().size())
        result += SpriteNames()[*sprite];
    if (const auto count = integer("count"))
        result += QStringLiteral(", %1 Reize").arg(*count);
    if (const auto speed = integer("speed"))
        result += QStringLiteral(", Geschwindigkeit %1").arg(*speed);
    if (const auto direction = integer("direction_index"))
        result +=
            *direction != 0 ? QStringLiteral(", nach rechts") : QStringLiteral(", nach links");
    const auto alertness = integer("alertness_index");
    if (alertness && *alertness >= 1 && *alertness <= 3 && *alertness < AlertnessNames.size())
        result += QStringLiteral(", Alertness ") + AlertnessNames[*alertness];
    if (JsonTrue(JsonMember(settings, "verfolger")))
        result += QStringLiteral(", Verfolger");
    if (result.startsWith(QLatin1String(", ")))
        result.remove(0, 2);
    return result;
}

std::unique_ptr<TTrainingPlan> LoadPlanFile(const QString& path) {
    if (!QFileInfo::exists(path))
        return nullptr;
    auto plan = std::make_unique<TTrainingPlan>();
    if (!plan->LoadFromFile(path))
        return nullptr;
    return plan;
}

std::unique_ptr<TTrainingPlan> LoadStoredPlan(const QString& user) {
    if (TrimLowCodes(user).isEmpty())
        return nullptr;
    return LoadPlanFile(GetUserPlanFile(user));
}

} // namespace kalvero
