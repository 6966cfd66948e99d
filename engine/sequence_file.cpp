#include "engine/sequence_file.h"

#include "platform/atomic_file.h"
#include "platform/json_text.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <limits>
#include <nlohmann/json.hpp>

namespace kalvero {

const char* const NoPlaylistEntriesMessage = "Keine gültigen Einträge in der Playlist gefunden.";

QString EntriesLoadedMessage(int count) {
    return QStringLiteral("%1 Einträge in der Sequenz geladen. Start!").arg(count);
}

namespace {

using json = nlohmann::json;

std::int32_t DurationOf(const json& entry) {
    const auto it = entry.find("duration");
    if (it == entry.end() || !it->is_number_integer())
        return DefaultEntrySeconds;
    if (it->is_number_unsigned())
        return static_cast<std::int32_t>(std::min<std::uint64_t>(
            it->get<std::uint64_t>(), std::numeric_limits<std::int32_t>::max()));
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(it->get<std::int64_t>(), std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

TSequenceLoad Malformed(const QString& message) {
    return {TSequenceLoadStatus::Malformed, {}, message};
}

TSequenceLoad NoEntries() {
    return {TSequenceLoadStatus::NoEntries, {}, QString::fromUtf8(NoPlaylistEntriesMessage)};
}

// JsonQuoted leaves the control characters without a short escape as they are, which no JSON
// reader accepts; they only occur in file names on this platform, and get \u escapes here.
QString QuotedFileName(const QString& name) {
    QString quoted = JsonQuoted(name, TJsonEscape::ShortOnly);
    for (qsizetype i = quoted.size() - 1; i >= 0; --i) {
        const char16_t unit = quoted[i].unicode();
        if (unit < 32)
            quoted.replace(
                i, 1,
                QStringLiteral("\\u") +
                    QStringLiteral("%1").arg(unsigned(unit), 4, 16, QChar('0')).toUpper());
    }
    return quoted;
}

} // namespace

TSequenceLoad ParseSequenceText(const QByteArray& bytes) {
    // Through QString so that malformed UTF-8 becomes replacement characters instead of making
    // the whole file unreadable for the JSON parser.
    const QByteArray text = QString::fromUtf8(StripUtf8Bom(bytes)).toUtf8();
    const json root = json::parse(text.constData(), text.constData() + text.size(), nullptr, false);
    if (root.is_discarded())
        return NoEntries();
    if (!root.is_object())
        return Malformed(QStringLiteral("Die Sequenz-Datei enthält kein JSON-Objekt."));
    const auto playlist = root.find("playlist");
    if (playlist == root.end())
        return NoEntries();
    if (!playlist->is_array())
        return Malformed(QStringLiteral("\"playlist\" in der Sequenz-Datei ist keine Liste."));

    TSequenceLoad result;
    for (std::size_t i = 0; i < playlist->size(); ++i) {
        const json& entry = (*playlist)[i];
        if (!entry.is_object())
            return Malformed(QStringLiteral("Eintrag %1 der Playlist ist kein Objekt.").arg(i + 1));
        const auto file = entry.find("file");
        if (file == entry.end() || !file->is_string())
            continue;
        result.Playlist.push_back(
            {QString::fromStdString(file->get<std::string>()), DurationOf(entry), QString()});
    }
    if (result.Playlist.empty())
        return NoEntries();
    result.Status = TSequenceLoadStatus::Loaded;
    result.Message = EntriesLoadedMessage(static_cast<int>(result.Playlist.size()));
    return result;
}

TSequenceLoad LoadSequenceFile(const QString& path) {
    if (!QFileInfo::exists(path))
        return {};
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes))
        return Malformed(
            QStringLiteral("%1 kann nicht gelesen werden").arg(QDir::toNativeSeparators(path)));
    return ParseSequenceText(bytes);
}

QByteArray SequenceFileText(const QStringList& files, std::int32_t durationSeconds) {
    const QString duration = QString::number(durationSeconds);
    QString text = QStringLiteral("{\"playlist\":[");
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (i > 0)
            text += ',';
        text += QStringLiteral("{\"file\":") + QuotedFileName(files[i]) +
                QStringLiteral(",\"duration\":") + duration + '}';
    }
    text += QStringLiteral("]}");
    return text.toUtf8();
}

void SaveSequenceFile(const QString& path, const QStringList& files, std::int32_t durationSeconds) {
    WriteFileAtomic(path, SequenceFileText(files, durationSeconds));
}

} // namespace kalvero
