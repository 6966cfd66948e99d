#pragma once

#include <QHash>
#include <QString>

namespace kalvero {

// Installation-wide values (section "Programm" of the users file: "Takt", "Fein", ...).
class TProgramSettings {
public:
    virtual ~TProgramSettings() = default;
    virtual QString ProgramValue(const QString& key, const QString& defaultValue) const = 0;
    // Stores the value at once.
    virtual void SetProgramValue(const QString& key, const QString& value) = 0;
};

// Values kept in memory only: every key reads its default until it is set.
class TMemoryProgramSettings final : public TProgramSettings {
public:
    QString ProgramValue(const QString& key, const QString& defaultValue) const override {
        return FValues.value(key, defaultValue);
    }
    void SetProgramValue(const QString& key, const QString& value) override {
        FValues.insert(key, value);
    }

private:
    QHash<QString, QString> FValues;
};

} // namespace kalvero
