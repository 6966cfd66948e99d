#include "plan/plan_sources.h"

#include "plan/plan_json.h"

#include <QFileInfo>
#include <nlohmann/json.hpp>

namespace kalvero {

namespace {
constexpr std::int32_t kDefaultEntrySeconds = 30;
}

QString ReadProfileJson(const QString& path) {
    TJsonDocument doc;
    if (!QFileInfo::exists(path) || !doc.ParseFile(path) || !doc.Root().is_object())
        return QString();
    return CompactJsonText(doc.Root());
}

TSequenceSections ReadSequenceSections(const QString& sequenceFile, const QString& profilesFolder) {
    TSequenceSections result;
    TJsonDocument doc;
    if (!doc.ParseFile(sequenceFile))
        return result;
    const TJson* playlist = JsonMember(doc.Root(), "playlist");
    if (playlist == nullptr || !playlist->is_array())
        return result;
    for (const TJson& entry : *playlist) {
        // A text member: a JSON string, or a number read as it was written.
        const TJson* file = JsonMember(entry, "file");
        if (file == nullptr || !(file->is_string() || file->is_number()))
            continue;
        const QString name = JsonString(doc, file);
        const QString settings = ReadProfileJson(profilesFolder + name);
        if (settings.isEmpty()) {
            ++result.Missing;
            continue;
        }
        const std::int32_t duration =
            JsonInteger(JsonMember(entry, "duration")).value_or(kDefaultEntrySeconds);
        result.Items.push_back({name, duration, settings});
    }
    return result;
}

} // namespace kalvero
