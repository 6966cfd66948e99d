#pragma once

#include <QString>
#include <QStringList>
#include <nlohmann/json_fwd.hpp>
#include <stdexcept>

namespace kalvero {

class TSettingsControls;
class TSpriteField;
class TAlertnessTask;
struct TRunState;

// The 15 stimulus sets: the items of ComboSprite in this order, also the names written to the
// protocol and shown in plan summaries.
const QStringList& SpriteNames();

// Item texts of the radio groups and the captions of the groups and check boxes.
const QStringList& DirectionItems();
const QStringList& SameSpeedItems();
const QStringList& AlertnessItems();
extern const char* const DirectionCaption;
extern const char* const SameSpeedCaption;
extern const char* const AlertnessCaption;
extern const char* const VerfolgerCaption;
extern const char* const ZeitCaption;

// Texts of the labels beside the track bars.
QString SpeedLabelText(int speed);
QString NumberOfSpritesLabelText(int count);
QString DarbietungszeitLabelText(int minutes);

// Raised when a settings file exists but cannot be read.
class TReadError : public std::runtime_error {
public:
    explicit TReadError(const QString& path);
    QString Path() const { return FPath; }

private:
    QString FPath;
};

// What applying settings may ask of the main window.
class TSettingsWindow {
public:
    virtual ~TSettingsWindow() = default;
    // Refreshes the background and stimulus previews of the settings screen.
    virtual void UpdatePreviews() = 0;
    virtual void SetLabelSpeed(const QString& text) = 0;
    virtual void SetLabelNumberOfSprites(const QString& text) = 0;
    // Gives the keyboard focus back to the main window (after a control changed during a run).
    virtual void FocusMainWindow() = 0;
};

// The training settings as the JSON object form of the ten controls, applying such objects to
// the controls, profile files, and the change handlers of the speed, variance and count
// controls.
class TTrainingSettings {
public:
    TTrainingSettings(TSettingsControls& controls, TSpriteField& sprites, TAlertnessTask& alertness,
                      const TRunState& run, TSettingsWindow& window);

    // The ten members in their fixed order: eight numbers, then two booleans.
    nlohmann::ordered_json SettingsToJson() const;
    // SettingsToJson as compact text (also the text of a profile file after its byte order mark).
    QString SettingsSnapshot() const;

    void ApplySettingsJson(const nlohmann::ordered_json& object);
    void ApplySettingsJson(const nlohmann::json& object);
    // Blank text, text that is not JSON and JSON that is not an object change nothing.
    void ApplySettingsText(const QString& text);

    // A missing file does nothing; one that exists but cannot be read raises TReadError.
    void LoadSettingsFile(const QString& path);
    // UTF-8 with byte order mark, replacing the file atomically; raises TWriteError.
    void SaveSettingsFile(const QString& path) const;

    // Change handlers of the controls (also used by the keyboard commands).
    void TrackBarSpeedChange();
    void RadioGroupSameSpeedClick();
    void TrackBarNumberOfSpritesChange();

private:
    void ApplyIntegers(const nlohmann::ordered_json& object);
    void ApplyBooleans(const nlohmann::ordered_json& object);

    TSettingsControls& FControls;
    TSpriteField& FSprites;
    TAlertnessTask& FAlertness;
    const TRunState& FRun;
    TSettingsWindow& FWindow;
};

} // namespace kalvero
