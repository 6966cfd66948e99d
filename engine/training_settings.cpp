#include "engine/training_settings.h"

#include "engine/alertness_task.h"
#include "engine/run_state.h"
#include "engine/settings_controls.h"
#include "engine/sprite_field.h"
#include "platform/atomic_file.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>

namespace kalvero {

const char* const DirectionCaption = "Laufrichtung";
const char* const SameSpeedCaption = "Gleich oder verschieden";
const char* const AlertnessCaption = "Alertnessreiz";
const char* const VerfolgerCaption = "Verfolger an/ aus";
const char* const ZeitCaption = "Zeit einblenden an/ aus";

const QStringList& SpriteNames() {
    static const QStringList names = {QStringLiteral("Hummel"),
                                      QStringLiteral("Fisch"),
                                      QStringLiteral("Schmetterling 1"),
                                      QStringLiteral("Schmetterling 2"),
                                      QStringLiteral("Alphabet"),
                                      QStringLiteral("Ziffern"),
                                      QStringLiteral("Vogel"),
                                      QStringLiteral("Smiley"),
                                      QStringLiteral("Auto"),
                                      QStringLiteral("Flugzeug"),
                                      QStringLiteral("Blasen"),
                                      QStringLiteral("Luftballons"),
                                      QStringLiteral("Heißluftballons"),
                                      QStringLiteral("Rakete"),
                                      QStringLiteral("Blumenrad")};
    return names;
}

const QStringList& DirectionItems() {
    static const QStringList items = {QStringLiteral("Nach Links"), QStringLiteral("Nach Rechts")};
    return items;
}

const QStringList& SameSpeedItems() {
    static const QStringList items = {QStringLiteral("Reize sind gleich schnell"),
                                      QStringLiteral("Reize sind unterschiedlich schnell")};
    return items;
}

const QStringList& AlertnessItems() {
    static const QStringList items = {QStringLiteral("Aus"), QStringLiteral("Stern"),
                                      QStringLiteral("Drache"), QStringLiteral("Smiley")};
    return items;
}

QString SpeedLabelText(int speed) {
    return QStringLiteral("Geschwindigkeit: %1").arg(speed);
}

QString NumberOfSpritesLabelText(int count) {
    return QStringLiteral("Anzahl der Sprites: %1").arg(count);
}

QString DarbietungszeitLabelText(int minutes) {
    if (minutes == 0)
        return QStringLiteral("Darbietungszeit in min: unbegrenzt");
    return QStringLiteral("Darbietungszeit in min: %1").arg(minutes);
}

TReadError::TReadError(const QString& path)
    : std::runtime_error(QStringLiteral("%1 kann nicht gelesen werden")
                             .arg(QDir::toNativeSeparators(path))
                             .toStdString()),
      FPath(path) {}

namespace {

using ordered_json = nlohmann::ordered_json;

struct TIntegerMember {
    const char* Key;
    int (*Get)(TSettingsControls&);
    void (*Set)(TSettingsControls&, int);
};

// The eight integer members in the order of the file format.
const TIntegerMember IntegerMembers[] = {
    {"background_index", [](TSettingsControls& c) { return c.ComboBackground().ItemIndex(); },
     [](TSettingsControls& c, int v) { c.ComboBackground().SetItemIndex(v); }},
    {"sprite_index", [](TSettingsControls& c) { return c.ComboSprite().ItemIndex(); },
     [](TSettingsControls& c, int v) { c.ComboSprite().SetItemIndex(v); }},
    {"speed", [](TSettingsControls& c) { return c.TrackBarSpeed().Position(); },
     [](TSettingsControls& c, int v) { c.TrackBarSpeed().SetPosition(v); }},
    {"count", [](TSettingsControls& c) { return c.TrackBarNumberOfSprites().Position(); },
     [](TSettingsControls& c, int v) { c.TrackBarNumberOfSprites().SetPosition(v); }},
    {"showtime", [](TSettingsControls& c) { return c.TrackBarDarbietungszeit().Position(); },
     [](TSettingsControls& c, int v) { c.TrackBarDarbietungszeit().SetPosition(v); }},
    {"direction_index", [](TSettingsControls& c) { return c.RadioGroupDirection().ItemIndex(); },
     [](TSettingsControls& c, int v) { c.RadioGroupDirection().SetItemIndex(v); }},
    {"variance_index", [](TSettingsControls& c) { return c.RadioGroupSameSpeed().ItemIndex(); },
     [](TSettingsControls& c, int v) { c.RadioGroupSameSpeed().SetItemIndex(v); }},
    {"alertness_index", [](TSettingsControls& c) { return c.RadioGroupAlertness().ItemIndex(); },
     [](TSettingsControls& c, int v) { c.RadioGroupAlertness().SetItemIndex(v); }},
};

// A whole JSON number, limited to the int range (the controls clamp further).
std::optional<int> ReadInteger(const ordered_json& value) {
    if (value.is_number_unsigned()) {
        const auto v = value.get<std::uint64_t>();
        return v > static_cast<std::uint64_t>(std::numeric_limits<int>::max())
                   ? std::numeric_limits<int>::max()
                   : static_cast<int>(v);
    }
    if (value.is_number_integer()) {
        const auto v = value.get<std::int64_t>();
        return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                         std::numeric_limits<int>::max()));
    }
    return std::nullopt;
}

bool IsJsonTrue(const ordered_json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_boolean() && it->get<bool>();
}

int MoveDirectionOf(int directionItem) {
    return directionItem == 0 ? -1 : 1;
}

} // namespace

TTrainingSettings::TTrainingSettings(TSettingsControls& controls, TSpriteField& sprites,
                                     TAlertnessTask& alertness, const TRunState& run,
                                     TSettingsWindow& window)
    : FControls(controls), FSprites(sprites), FAlertness(alertness), FRun(run), FWindow(window) {}

ordered_json TTrainingSettings::SettingsToJson() const {
    ordered_json object = ordered_json::object();
    for (const auto& member : IntegerMembers)
        object[member.Key] = member.Get(FControls);
    object["verfolger"] = FControls.checkboxVerfolger().Checked();
    object["show_timer"] = FControls.checkboxZeit().Checked();
    return object;
}

QString TTrainingSettings::SettingsSnapshot() const {
    // Only numbers and booleans: the compact dump needs no escaping.
    return QString::fromStdString(SettingsToJson().dump());
}

void TTrainingSettings::ApplyIntegers(const ordered_json& object) {
    for (const auto& member : IntegerMembers) {
        const auto it = object.find(member.Key);
        if (it == object.end())
            continue;
        if (const auto value = ReadInteger(*it))
            member.Set(FControls, *value);
    }
}

void TTrainingSettings::ApplyBooleans(const ordered_json& object) {
    FControls.checkboxVerfolger().SetChecked(IsJsonTrue(object, "verfolger"));
    FControls.checkboxZeit().SetChecked(IsJsonTrue(object, "show_timer"));
}

void TTrainingSettings::ApplySettingsJson(const ordered_json& object) {
    if (!object.is_object())
        return;
    ApplyIntegers(object);
    ApplyBooleans(object);
    FSprites.CurrentBackgroundIndex = FControls.ComboBackground().ItemIndex();
    FSprites.CurrentSpriteType = FControls.ComboSprite().ItemIndex();
    if (!FRun.IsRunning)
        FWindow.UpdatePreviews();
    FWindow.SetLabelSpeed(SpeedLabelText(FControls.TrackBarSpeed().Position()));
    FWindow.SetLabelNumberOfSprites(
        NumberOfSpritesLabelText(FControls.TrackBarNumberOfSprites().Position()));
    FAlertness.AlertnessVars.ActiveMode = FControls.RadioGroupAlertness().ItemIndex();
    if (FRun.IsRunning) {
        FSprites.ResetBackOffset();
        FSprites.BaseSpeedFactor = FControls.TrackBarSpeed().Position();
        FSprites.MoveDirection = MoveDirectionOf(FControls.RadioGroupDirection().ItemIndex());
        FSprites.RebuildSprites();
    }
}

void TTrainingSettings::ApplySettingsJson(const nlohmann::json& object) {
    if (object.is_object())
        ApplySettingsJson(ordered_json(object));
}

void TTrainingSettings::ApplySettingsText(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    qsizetype begin = 0, end = utf8.size();
    while (begin < end && static_cast<unsigned char>(utf8[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(utf8[end - 1]) <= 32)
        --end;
    if (begin == end)
        return;
    const ordered_json parsed =
        ordered_json::parse(utf8.constData() + begin, utf8.constData() + end, nullptr, false);
    if (parsed.is_object())
        ApplySettingsJson(parsed);
}

void TTrainingSettings::LoadSettingsFile(const QString& path) {
    if (!QFileInfo::exists(path))
        return;
    QByteArray data;
    if (!ReadWholeFile(path, data))
        throw TReadError(path);
    ApplySettingsText(QString::fromUtf8(StripUtf8Bom(data)));
}

void TTrainingSettings::SaveSettingsFile(const QString& path) const {
    WriteFileAtomic(path, Utf8Bom() + SettingsSnapshot().toUtf8());
}

void TTrainingSettings::TrackBarSpeedChange() {
    const int speed = FControls.TrackBarSpeed().Position();
    FSprites.BaseSpeedFactor = speed;
    FWindow.SetLabelSpeed(SpeedLabelText(speed));
    if (FRun.IsRunning) {
        FSprites.UpdateSpriteSpeeds();
        FWindow.FocusMainWindow();
    }
}

void TTrainingSettings::RadioGroupSameSpeedClick() {
    if (FRun.IsRunning) {
        FSprites.UpdateSpriteSpeeds();
        FWindow.FocusMainWindow();
    }
}

void TTrainingSettings::TrackBarNumberOfSpritesChange() {
    FWindow.SetLabelNumberOfSprites(
        NumberOfSpritesLabelText(FControls.TrackBarNumberOfSprites().Position()));
    if (FRun.IsRunning) {
        FSprites.AdjustSpriteCount();
        FWindow.FocusMainWindow();
    }
}

} // namespace kalvero
