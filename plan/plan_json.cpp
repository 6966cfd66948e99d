#include "plan/plan_json.h"

#include "platform/atomic_file.h"
#include "platform/json_text.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <unordered_map>
#include <vector>

namespace kalvero {

namespace {

// Builds the document from parser events. Refuses nesting deeper than kMaxJsonDepth, so neither
// the build nor the later recursive walks can exhaust the stack. Numbers with a fraction or an
// exponent have their source text recorded under the path of the value.
class TDomBuilder {
public:
    using number_integer_t = TJson::number_integer_t;
    using number_unsigned_t = TJson::number_unsigned_t;
    using number_float_t = TJson::number_float_t;
    using string_t = TJson::string_t;
    using binary_t = TJson::binary_t;

    TJson Root;
    std::unordered_map<std::string, std::string> FloatTextByPath;

    bool null() { return Add(nullptr) != nullptr; }
    bool boolean(bool value) { return Add(value) != nullptr; }
    bool number_integer(number_integer_t value) { return Add(value) != nullptr; }
    bool number_unsigned(number_unsigned_t value) { return Add(value) != nullptr; }
    bool number_float(number_float_t value, const string_t& text) {
        std::string path;
        if (Add(value, &path) == nullptr)
            return false;
        FloatTextByPath[path] = text;
        return true;
    }
    bool string(string_t& value) { return Add(std::move(value)) != nullptr; }
    bool binary(binary_t&) { return false; }
    bool start_object(std::size_t) { return Open(TJson::object()); }
    bool end_object() { return Close(); }
    bool start_array(std::size_t) { return Open(TJson::array()); }
    bool end_array() { return Close(); }
    bool key(string_t& name) {
        FFrames.back().Key = name;
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) {
        return false;
    }

private:
    struct TFrame {
        TJson* Container;
        std::string Path;
        std::string Key;
        std::size_t Count = 0;
    };
    std::vector<TFrame> FFrames;
    bool FHasRoot = false;

    TJson* Add(TJson value, std::string* path = nullptr) {
        if (FFrames.empty()) {
            if (FHasRoot)
                return nullptr;
            FHasRoot = true;
            Root = std::move(value);
            return &Root;
        }
        TFrame& frame = FFrames.back();
        const std::string childPath = ChildPath(frame);
        if (path)
            *path = childPath;
        ++frame.Count;
        if (frame.Container->is_array()) {
            frame.Container->push_back(std::move(value));
            return &frame.Container->back();
        }
        TJson& slot = (*frame.Container)[frame.Key];
        slot = std::move(value);
        return &slot;
    }

    bool Open(TJson container) {
        if (static_cast<int>(FFrames.size()) >= kMaxJsonDepth)
            return false;
        const std::string path = FFrames.empty() ? std::string() : ChildPath(FFrames.back());
        TJson* added = Add(std::move(container));
        if (added == nullptr)
            return false;
        FFrames.push_back({added, path, {}, 0});
        return true;
    }

    bool Close() {
        if (FFrames.empty())
            return false;
        FFrames.pop_back();
        return true;
    }

    static std::string ChildPath(const TFrame& frame) {
        if (frame.Container->is_array())
            return frame.Path + 'i' + std::to_string(frame.Count) + ';';
        return frame.Path + 'k' + std::to_string(frame.Key.size()) + ':' + frame.Key;
    }
};

// The same paths as TDomBuilder::ChildPath, walked over the finished document.
void MapFloatTexts(const TJson& value, const std::string& path,
                   const std::unordered_map<std::string, std::string>& byPath,
                   std::unordered_map<const TJson*, std::string>& byAddress) {
    if (value.is_number_float()) {
        const auto found = byPath.find(path);
        if (found != byPath.end())
            byAddress[&value] = found->second;
    } else if (value.is_array()) {
        std::size_t index = 0;
        for (const TJson& element : value)
            MapFloatTexts(element, path + 'i' + std::to_string(index++) + ';', byPath, byAddress);
    } else if (value.is_object()) {
        for (const auto& [name, element] : value.items())
            MapFloatTexts(element, path + 'k' + std::to_string(name.size()) + ':' + name, byPath,
                          byAddress);
    }
}

std::optional<std::int32_t> WholeInt32(double value) {
    if (!std::isfinite(value) || std::trunc(value) != value)
        return std::nullopt;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

void AppendCompact(QString& out, const TJson& value) {
    switch (value.type()) {
    case TJson::value_t::object: {
        out += '{';
        bool first = true;
        for (const auto& [name, element] : value.items()) {
            if (!first)
                out += ',';
            first = false;
            out += JsonQuoted(QString::fromStdString(name), TJsonEscape::Ascii);
            out += ':';
            AppendCompact(out, element);
        }
        out += '}';
        break;
    }
    case TJson::value_t::array: {
        out += '[';
        bool first = true;
        for (const TJson& element : value) {
            if (!first)
                out += ',';
            first = false;
            AppendCompact(out, element);
        }
        out += ']';
        break;
    }
    case TJson::value_t::string:
        out += JsonQuoted(QString::fromStdString(value.get_ref<const std::string&>()),
                          TJsonEscape::Ascii);
        break;
    case TJson::value_t::boolean:
        out += value.get<bool>() ? QLatin1String("true") : QLatin1String("false");
        break;
    case TJson::value_t::number_integer:
        out += QString::number(value.get<std::int64_t>());
        break;
    case TJson::value_t::number_unsigned:
        out += QString::number(value.get<std::uint64_t>());
        break;
    case TJson::value_t::number_float:
        out += QString::fromStdString(value.dump());
        break;
    default:
        out += QLatin1String("null");
        break;
    }
}

} // namespace

struct TJsonDocument::TData {
    TJson Root;
    std::unordered_map<const TJson*, std::string> FloatTexts;
};

TJsonDocument::TJsonDocument() : FData(std::make_unique<TData>()) {}

TJsonDocument::~TJsonDocument() = default;

bool TJsonDocument::Parse(const QByteArray& utf8) {
    FData = std::make_unique<TData>();
    // The file is read as UTF-8 text first: malformed byte sequences become U+FFFD instead of
    // making the whole document unreadable.
    const QByteArray text = QString::fromUtf8(StripUtf8Bom(utf8)).toUtf8();
    TDomBuilder builder;
    bool ok = false;
    try {
        ok = TJson::sax_parse(text.constBegin(), text.constEnd(), &builder);
    } catch (const std::exception&) {
        ok = false;
    }
    if (!ok)
        return false;
    FData->Root = std::move(builder.Root);
    if (!builder.FloatTextByPath.empty())
        MapFloatTexts(FData->Root, std::string(), builder.FloatTextByPath, FData->FloatTexts);
    return true;
}

bool TJsonDocument::ParseFile(const QString& path) {
    FData = std::make_unique<TData>();
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxJsonFileBytes)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Read one byte past the limit, so a file that grew since the check is refused as well.
    const QByteArray data = file.read(kMaxJsonFileBytes + 1);
    if (file.error() != QFileDevice::NoError || data.size() > kMaxJsonFileBytes)
        return false;
    return Parse(data);
}

const TJson& TJsonDocument::Root() const {
    return FData->Root;
}

std::string TJsonDocument::NumberText(const TJson& number) const {
    if (number.is_number_float()) {
        const auto found = FData->FloatTexts.find(&number);
        if (found != FData->FloatTexts.end())
            return found->second;
    }
    return number.dump();
}

const TJson* JsonMember(const TJson& object, const char* key) {
    if (!object.is_object())
        return nullptr;
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

std::optional<std::int32_t> JsonIntegerText(const QString& text) {
    static const QRegularExpression numberForm(
        QStringLiteral("^[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    if (!numberForm.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    if (!text.contains('.') && !text.contains('e', Qt::CaseInsensitive)) {
        const qlonglong whole = text.toLongLong(&ok);
        if (!ok || whole < std::numeric_limits<std::int32_t>::min() ||
            whole > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        return static_cast<std::int32_t>(whole);
    }
    const double value = text.toDouble(&ok);
    return ok ? WholeInt32(value) : std::nullopt;
}

std::optional<std::int32_t> JsonInteger(const TJson* value) {
    if (value == nullptr)
        return std::nullopt;
    switch (value->type()) {
    case TJson::value_t::number_integer: {
        const std::int64_t whole = value->get<std::int64_t>();
        if (whole < std::numeric_limits<std::int32_t>::min() ||
            whole > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        return static_cast<std::int32_t>(whole);
    }
    case TJson::value_t::number_unsigned: {
        const std::uint64_t whole = value->get<std::uint64_t>();
        if (whole > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
            return std::nullopt;
        return static_cast<std::int32_t>(whole);
    }
    case TJson::value_t::number_float:
        return WholeInt32(value->get<double>());
    case TJson::value_t::string:
        return JsonIntegerText(QString::fromStdString(value->get_ref<const std::string&>()));
    default:
        return std::nullopt;
    }
}

QString JsonString(const TJsonDocument& doc, const TJson* value) {
    if (value == nullptr)
        return QString();
    if (value->is_string())
        return QString::fromStdString(value->get_ref<const std::string&>());
    if (value->is_number())
        return QString::fromStdString(doc.NumberText(*value));
    return QString();
}

bool JsonTrue(const TJson* value) {
    return value != nullptr && value->is_boolean() && value->get<bool>();
}

QString CompactJsonText(const TJson& value) {
    QString out;
    AppendCompact(out, value);
    return out;
}

QString CompactObjectText(const QByteArray& utf8) {
    TJsonDocument doc;
    if (!doc.Parse(utf8) || !doc.Root().is_object())
        return QString();
    return CompactJsonText(doc.Root());
}

} // namespace kalvero
