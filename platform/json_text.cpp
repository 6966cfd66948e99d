#include "platform/json_text.h"

namespace kalvero {

namespace {
const char* ShortEscape(char16_t unit) {
    switch (unit) {
    case u'\b':
        return "\\b";
    case u'\t':
        return "\\t";
    case u'\n':
        return "\\n";
    case u'\f':
        return "\\f";
    case u'\r':
        return "\\r";
    case u'"':
        return "\\\"";
    case u'\\':
        return "\\\\";
    default:
        return nullptr;
    }
}

void AppendUnicodeEscape(QString& out, char16_t unit) {
    out += QLatin1String("\\u");
    out += QStringLiteral("%1").arg(static_cast<unsigned>(unit), 4, 16, QChar('0')).toUpper();
}
} // namespace

QString JsonQuoted(const QString& text, TJsonEscape escape) {
    QString out;
    out.reserve(text.size() + 2);
    out += '"';
    for (QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (const char* shortForm = ShortEscape(unit))
            out += QLatin1String(shortForm);
        else if (escape == TJsonEscape::Ascii && (unit < 32 || unit > 127))
            AppendUnicodeEscape(out, unit);
        else
            out += ch;
    }
    out += '"';
    return out;
}

} // namespace kalvero
