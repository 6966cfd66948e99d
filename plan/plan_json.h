#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>

namespace kalvero {

// JSON as read from plan, profile and sequence files. Member order is kept.
using TJson = nlohmann::ordered_json;

// Plan, profile and sequence files come from other installations (USB sticks, e-mail), so they
// are read with limits: no deeper nesting than this, no larger files than this.
constexpr int kMaxJsonDepth = 64;
constexpr qint64 kMaxJsonFileBytes = 4 * 1024 * 1024;

// A JSON document parsed from untrusted text. Numbers written with a fraction or an exponent keep
// their text, so that a text member given as a number reads as it was written.
class TJsonDocument {
public:
    TJsonDocument();
    ~TJsonDocument();
    TJsonDocument(const TJsonDocument&) = delete;
    TJsonDocument& operator=(const TJsonDocument&) = delete;

    // Parses UTF-8 text; a leading byte order mark is skipped, malformed UTF-8 is read as U+FFFD.
    // Returns false for text that is not JSON or nests deeper than kMaxJsonDepth; the root is
    // then null.
    bool Parse(const QByteArray& utf8);
    // Reads a regular file of at most kMaxJsonFileBytes and parses it; false when that fails.
    bool ParseFile(const QString& path);

    const TJson& Root() const;
    // The text a number was written with in the source (integers in their decimal form).
    std::string NumberText(const TJson& number) const;

private:
    struct TData;
    std::unique_ptr<TData> FData;
};

// The member `key` of an object, or nullptr when `object` is no object or lacks the member.
const TJson* JsonMember(const TJson& object, const char* key);

// An integer value: a JSON number or a text holding a number, whole and within 32 bits
// ("60", 60.0, "6e1" all give 60). Anything else gives no value.
std::optional<std::int32_t> JsonInteger(const TJson* value);
std::optional<std::int32_t> JsonIntegerText(const QString& text);
// A text value: a JSON string, or a number as it was written; anything else gives "".
QString JsonString(const TJsonDocument& doc, const TJson* value);
// True only for the JSON literal true.
bool JsonTrue(const TJson* value);

// Compact JSON text without whitespace; every character below 32 and every UTF-16 unit above 127
// inside strings is written as a \u escape, so the text is pure ASCII.
QString CompactJsonText(const TJson& value);
// Parses text; the compact escaped form when it is a JSON object, otherwise "".
QString CompactObjectText(const QByteArray& utf8);

} // namespace kalvero
