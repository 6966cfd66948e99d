#include "platform/ini_file.h"

#include "platform/atomic_file.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <vector>

namespace kalvero {

namespace {

enum class TLineKind { Other, Section, Value };

// One line of the file. Raw is the line as it stands in the file (without its line end);
// Name is the decoded section name or key, Value the decoded value.
struct TIniLine {
    TLineKind Kind = TLineKind::Other;
    QString Raw;
    QString Name;
    QString Value;
};

using TIniLines = std::vector<TIniLine>;

// A stretch of lines belonging to one occurrence of a section: its header and the lines up to
// the next header.
struct TBlock {
    size_t Header;
    size_t End;
};

bool IsBlank(QChar c) {
    return c == ' ' || c == '\t';
}

QString TrimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

void AppendEscaped(QString& out, QChar c) {
    out += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QChar('0')).toUpper();
}

bool IsControl(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

// Escapes what the line parser would misread: "%", control characters, leading and trailing
// blanks, and whatever alsoEscaped(character, position) asks for.
template <typename Rule> QString Encode(const QString& text, Rule alsoEscaped) {
    qsizetype firstKept = 0;
    qsizetype lastKept = text.size() - 1;
    while (firstKept < text.size() && text[firstKept] == ' ')
        ++firstKept;
    while (lastKept >= firstKept && text[lastKept] == ' ')
        --lastKept;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool edgeBlank = c == ' ' && (i < firstKept || i > lastKept);
        if (c == '%' || IsControl(c) || edgeBlank || alsoEscaped(c, i))
            AppendEscaped(out, c);
        else
            out += c;
    }
    return out;
}

int HexDigit(QChar c) {
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

QString DecodeBytes(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

QStringList SplitLines(const QString& text) {
    QStringList lines;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '\r' || c == '\n') {
            lines << current;
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            current += c;
        }
    }
    if (!current.isEmpty())
        lines << current;
    return lines;
}

TIniLine ParseLine(const QString& raw) {
    TIniLine line;
    line.Raw = raw;
    const QString t = TrimBlanks(raw);
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('#'))
        return line;
    if (t.startsWith('[')) {
        const qsizetype close = t.indexOf(']');
        if (close > 0) {
            line.Kind = TLineKind::Section;
            line.Name = IniDecode(TrimBlanks(t.mid(1, close - 1)));
        }
        return line;
    }
    const qsizetype eq = t.indexOf('=');
    if (eq <= 0)
        return line;
    const QString key = TrimBlanks(t.left(eq));
    if (key.isEmpty())
        return line;
    line.Kind = TLineKind::Value;
    line.Name = IniDecode(key);
    line.Value = IniDecode(TrimBlanks(t.mid(eq + 1)));
    return line;
}

TIniLines Parse(const QByteArray& data) {
    TIniLines lines;
    for (const QString& raw : SplitLines(DecodeBytes(StripUtf8Bom(data))))
        lines.push_back(ParseLine(raw));
    return lines;
}

TIniLines Load(const QString& path) {
    QByteArray data;
    if (!ReadWholeFile(path, data))
        return {};
    return Parse(data);
}

// Like Load, but a file that exists and cannot be read is an error: replacing it would lose it.
TIniLines LoadForWrite(const QString& path) {
    QByteArray data;
    if (QFileInfo::exists(path) && !ReadWholeFile(path, data))
        throw TWriteError(path);
    return Parse(data);
}

void Save(const QString& path, const TIniLines& lines) {
    QString text;
    for (const TIniLine& line : lines)
        text += line.Raw + '\n';
    WriteFileAtomic(path, text.toUtf8());
}

std::vector<TBlock> Blocks(const TIniLines& lines, const QString& section) {
    std::vector<TBlock> blocks;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].Kind != TLineKind::Section || !SameName(lines[i].Name, section))
            continue;
        size_t end = i + 1;
        while (end < lines.size() && lines[end].Kind != TLineKind::Section)
            ++end;
        blocks.push_back({i, end});
    }
    return blocks;
}

bool IsKey(const TIniLine& line, const QString& key) {
    return line.Kind == TLineKind::Value && SameName(line.Name, key);
}

const TIniLine* FindValue(const TIniLines& lines, const QString& section, const QString& key) {
    for (const TBlock& block : Blocks(lines, section))
        for (size_t i = block.Header + 1; i < block.End; ++i)
            if (IsKey(lines[i], key))
                return &lines[i];
    return nullptr;
}

bool HasAnyValue(const TIniLines& lines, const std::vector<TBlock>& blocks) {
    for (const TBlock& block : blocks)
        for (size_t i = block.Header + 1; i < block.End; ++i)
            if (lines[i].Kind == TLineKind::Value)
                return true;
    return false;
}

TIniLine SectionLine(const QString& section) {
    return {TLineKind::Section, '[' + IniEncodeName(section) + ']', section, QString()};
}

TIniLine ValueLine(const QString& key, const QString& value) {
    return {TLineKind::Value, IniEncodeName(key) + '=' + IniEncodeValue(value), key, value};
}

QString CutValue(const QString& value) {
    if (value.size() <= TIniFile::MaxValueLength)
        return value;
    QString cut = value.left(TIniFile::MaxValueLength);
    if (cut.back().isHighSurrogate())
        cut.chop(1); // never leave half a character behind
    return cut;
}

} // namespace

QString IniEncodeName(const QString& name) {
    return Encode(name, [](QChar c, qsizetype i) {
        return c == '[' || c == ']' || c == '=' || (i == 0 && (c == ';' || c == '#'));
    });
}

QString IniEncodeValue(const QString& value) {
    return Encode(value, [](QChar, qsizetype) { return false; });
}

QString IniDecode(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int hi = HexDigit(text[i + 1]);
            const int lo = HexDigit(text[i + 2]);
            if (hi >= 0 && hi < 8 && lo >= 0) {
                out += QChar(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

TIniFile::TIniFile(QString path) : FPath(std::move(path)) {}

QStringList TIniFile::ReadSections() const {
    const TIniLines lines = Load(FPath);
    QStringList names;
    for (const TIniLine& line : lines) {
        if (line.Kind != TLineKind::Section || names.contains(line.Name, Qt::CaseInsensitive))
            continue;
        if (HasAnyValue(lines, Blocks(lines, line.Name)))
            names << line.Name;
    }
    return names;
}

bool TIniFile::SectionExists(const QString& section) const {
    const TIniLines lines = Load(FPath);
    return HasAnyValue(lines, Blocks(lines, section));
}

QStringList TIniFile::ReadKeys(const QString& section) const {
    const TIniLines lines = Load(FPath);
    QStringList keys;
    for (const TBlock& block : Blocks(lines, section))
        for (size_t i = block.Header + 1; i < block.End; ++i)
            if (lines[i].Kind == TLineKind::Value &&
                !keys.contains(lines[i].Name, Qt::CaseInsensitive))
                keys << lines[i].Name;
    return keys;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const {
    return FindValue(Load(FPath), section, key) != nullptr;
}

QString TIniFile::ReadString(const QString& section, const QString& key,
                             const QString& defaultValue) const {
    const TIniLines lines = Load(FPath);
    const TIniLine* line = FindValue(lines, section, key);
    return line ? CutValue(line->Value) : defaultValue;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    TIniLines lines = LoadForWrite(FPath);
    const std::vector<TBlock> blocks = Blocks(lines, section);
    for (const TBlock& block : blocks)
        for (size_t i = block.Header + 1; i < block.End; ++i)
            if (IsKey(lines[i], key)) {
                lines[i] = ValueLine(lines[i].Name, value);
                Save(FPath, lines);
                return;
            }
    if (blocks.empty()) {
        if (!lines.empty() && !TrimBlanks(lines.back().Raw).isEmpty())
            lines.push_back(TIniLine());
        lines.push_back(SectionLine(section));
        lines.push_back(ValueLine(key, value));
    } else {
        // New keys go after the last key of the first occurrence, before trailing blank lines.
        const TBlock& first = blocks.front();
        size_t at = first.Header + 1;
        for (size_t i = first.Header + 1; i < first.End; ++i)
            if (lines[i].Kind == TLineKind::Value)
                at = i + 1;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), ValueLine(key, value));
    }
    Save(FPath, lines);
}

void TIniFile::EraseSection(const QString& section) {
    TIniLines lines = LoadForWrite(FPath);
    const std::vector<TBlock> blocks = Blocks(lines, section);
    if (blocks.empty())
        return;
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it)
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(it->Header),
                    lines.begin() + static_cast<std::ptrdiff_t>(it->End));
    Save(FPath, lines);
}

void TIniFile::DeleteKey(const QString& section, const QString& key) {
    TIniLines lines = LoadForWrite(FPath);
    bool changed = false;
    const std::vector<TBlock> blocks = Blocks(lines, section);
    for (auto block = blocks.rbegin(); block != blocks.rend(); ++block)
        for (size_t i = block->End; i-- > block->Header + 1;)
            if (IsKey(lines[i], key)) {
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
                changed = true;
            }
    if (changed)
        Save(FPath, lines);
}

} // namespace kalvero
