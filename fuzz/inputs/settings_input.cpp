#include "engine/profile_run.h"
#include "fuzz/inputs/fuzz_support.h"
#include "fuzz/inputs/one_input.h"
#include "fuzz/inputs/settings_bench.h"
#include "platform/atomic_file.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <optional>

namespace kalvero::fuzz {

namespace {

using nlohmann::ordered_json;

const char* const IntegerKeys[] = {
    "background_index", "sprite_index",    "speed",          "count",
    "showtime",         "direction_index", "variance_index", "alertness_index"};

int ControlValue(TSettingsControls& c, int member) {
    switch (member) {
    case 0:
        return c.ComboBackground().ItemIndex();
    case 1:
        return c.ComboSprite().ItemIndex();
    case 2:
        return c.TrackBarSpeed().Position();
    case 3:
        return c.TrackBarNumberOfSprites().Position();
    case 4:
        return c.TrackBarDarbietungszeit().Position();
    case 5:
        return c.RadioGroupDirection().ItemIndex();
    case 6:
        return c.RadioGroupSameSpeed().ItemIndex();
    default:
        return c.RadioGroupAlertness().ItemIndex();
    }
}

// What the control of a member holds after being set to value, by the rules of its kind.
int ExpectedValue(TSettingsControls& c, int member, std::int64_t value) {
    const auto clampTo = [value](std::int64_t low, std::int64_t high) {
        return static_cast<int>(std::clamp(value, low, high));
    };
    switch (member) {
    case 0:
        return value >= 0 && value < c.ComboBackground().ItemCount() ? int(value) : -1;
    case 1:
        return value >= 0 && value < c.ComboSprite().ItemCount() ? int(value) : -1;
    case 2:
        return clampTo(1, 20);
    case 3:
        return clampTo(0, 150);
    case 4:
        return clampTo(0, 30);
    case 5:
        return value < -1 ? -1 : clampTo(-1, 1);
    case 6:
        return value < -1 ? -1 : clampTo(-1, 1);
    default:
        return value < -1 ? -1 : clampTo(-1, 3);
    }
}

std::optional<std::int64_t> WholeNumber(const ordered_json& value) {
    if (value.is_number_unsigned())
        return static_cast<std::int64_t>(
            std::min<std::uint64_t>(value.get<std::uint64_t>(), INT64_MAX));
    if (value.is_number_integer())
        return value.get<std::int64_t>();
    return std::nullopt;
}

// The object the text stands for, trimmed as the settings reader trims it; null when none.
ordered_json ParsedObject(const QString& text) {
    QByteArray utf8 = text.toUtf8();
    qsizetype begin = 0, end = utf8.size();
    while (begin < end && static_cast<unsigned char>(utf8[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(utf8[end - 1]) <= 32)
        --end;
    if (begin == end)
        return nullptr;
    ordered_json parsed =
        ordered_json::parse(utf8.constData() + begin, utf8.constData() + end, nullptr, false);
    return parsed.is_object() ? parsed : ordered_json();
}

void CheckApplied(TFindings& findings, TSettingsBench& bench, const ordered_json& object,
                  const int (&before)[8], bool beforeFollower, bool beforeTimer) {
    TSettingsControls& c = bench.Controls;
    for (int m = 0; m < 8; ++m) {
        int expected = before[m];
        if (object.is_object()) {
            const auto it = object.find(IntegerKeys[m]);
            if (it != object.end())
                if (const auto number = WholeNumber(*it))
                    expected = ExpectedValue(c, m, *number);
        }
        findings.Check(ControlValue(c, m) == expected, std::string(IntegerKeys[m]) + " holds " +
                                                           std::to_string(ControlValue(c, m)) +
                                                           ", expected " +
                                                           std::to_string(expected));
    }
    const auto flag = [&](const char* key, bool old) {
        if (!object.is_object())
            return old;
        const auto it = object.find(key);
        return it != object.end() && it->is_boolean() && it->get<bool>();
    };
    findings.Check(c.checkboxVerfolger().Checked() == flag("verfolger", beforeFollower),
                   "verfolger check box");
    findings.Check(c.checkboxZeit().Checked() == flag("show_timer", beforeTimer),
                   "show_timer check box");
    if (!object.is_object())
        return;
    findings.Check(bench.Alertness.AlertnessVars.ActiveMode == c.RadioGroupAlertness().ItemIndex(),
                   "alertness mode differs from its radio group");
    findings.Check(bench.Field.CurrentSpriteType == c.ComboSprite().ItemIndex(),
                   "stimulus set differs from its combo box");
    if (bench.Run.IsRunning)
        findings.Check(bench.Field.SpriteCount() == c.TrackBarNumberOfSprites().Position(),
                       "sprite field count differs from the count track bar");
}

// The snapshot must be the ten members in order and reproduce the controls on fresh controls.
void CheckSnapshot(TFindings& findings, TSettingsBench& bench, int backgrounds) {
    const QString snapshot = bench.Settings.SettingsSnapshot();
    const ordered_json parsed = ordered_json::parse(snapshot.toStdString(), nullptr, false);
    findings.Check(parsed.is_object() && parsed.size() == 10, "snapshot is not ten members");
    TSettingsBench fresh(backgrounds, false);
    fresh.Settings.ApplySettingsText(snapshot);
    findings.Check(fresh.Settings.SettingsSnapshot() == snapshot,
                   "snapshot applied again gives " + Shown(fresh.Settings.SettingsSnapshot()) +
                       " instead of " + Shown(snapshot));
}

// Moves the controls away from the factory state, so "left unchanged" can be told from "reset".
void StartAwayFromFactory(TSettingsBench& bench) {
    bench.Settings.ApplySettingsText(QStringLiteral(
        R"({"background_index":3,"sprite_index":2,"speed":7,"count":15,"showtime":10,)"
        R"("direction_index":1,"variance_index":1,"alertness_index":2,"verfolger":true,)"
        R"("show_timer":true})"));
}

// Applies the bytes as settings text or as a profile file and checks the controls afterwards.
std::string ApplyAndCheck(TSettingsBench& bench, const QByteArray& bytes, bool asProfileFile,
                          int backgrounds) {
    StartAwayFromFactory(bench);
    int before[8];
    for (int m = 0; m < 8; ++m)
        before[m] = ControlValue(bench.Controls, m);
    const bool follower = bench.Controls.checkboxVerfolger().Checked();
    const bool timer = bench.Controls.checkboxZeit().Checked();

    TFindings findings;
    QString text = QString::fromUtf8(bytes);
    if (asProfileFile) {
        const QString path = FreshScratchFolder() + "Profil.json";
        if (!WriteBytes(path, bytes))
            return "scratch file cannot be written";
        try {
            bench.Settings.LoadSettingsFile(path);
        } catch (const std::exception& error) {
            return std::string("reading an existing profile failed: ") + error.what();
        }
        text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    } else {
        bench.Settings.ApplySettingsText(text);
    }
    CheckApplied(findings, bench, ParsedObject(text), before, follower, timer);
    CheckSnapshot(findings, bench, backgrounds);
    return findings.Text();
}

// A profile saved from the controls is the byte order mark and the snapshot; loaded into fresh
// controls it gives the same snapshot, and a run with it counts as a run of that profile.
void CheckSavedProfile(TFindings& findings, TSettingsBench& bench) {
    const QString path = FreshScratchFolder() + "Profile/Gespeichert.json";
    const QString snapshot = bench.Settings.SettingsSnapshot();
    try {
        bench.Settings.SaveSettingsFile(path);
    } catch (const std::exception& error) {
        findings.Fail(std::string("saving the profile failed: ") + error.what());
        return;
    }
    QByteArray saved;
    findings.Check(ReadWholeFile(path, saved) && saved == Utf8Bom() + snapshot.toUtf8(),
                   "saved profile is not the byte order mark and the snapshot");
    TSettingsBench fresh(72, false);
    fresh.Settings.LoadSettingsFile(path);
    findings.Check(fresh.Settings.SettingsSnapshot() == snapshot,
                   "saved profile loads as " + Shown(fresh.Settings.SettingsSnapshot()));
    TProfileRun profile;
    profile.Remember(path, fresh.Settings.SettingsSnapshot());
    const TRunKindName kind = profile.KindOf(bench.Settings.SettingsSnapshot());
    findings.Check(kind.Kind == "Profil" && kind.Name == "Gespeichert",
                   "a run with the loaded profile is recorded as " + Shown(kind.Kind));
}

} // namespace

// First byte: bit 0 a run is active, bit 1 read as a profile file, bit 2 no backgrounds.
// The rest is the settings text.
std::string SettingsInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return {};
    const std::uint8_t flags = data[0];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const int backgrounds = flags & 4 ? 0 : 72;
    TSettingsBench bench(backgrounds, flags & 1);
    return ApplyAndCheck(bench, bytes, flags & 2, backgrounds);
}

// The whole input is a profile file, read while no run is active.
std::string ProfileInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TSettingsBench bench(72, false);
    std::string finding = ApplyAndCheck(bench, bytes, true, 72);
    if (!finding.empty())
        return finding;
    TFindings findings;
    CheckSavedProfile(findings, bench);
    return findings.Text();
}

} // namespace kalvero::fuzz
