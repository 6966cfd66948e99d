#include "fuzz/inputs/fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

namespace kalvero::fuzz {

namespace {

constexpr int kMaxFindings = 4;

// Length of the separator line starting at data[at], or 0 when there is none.
std::size_t SeparatorAt(const std::uint8_t* data, std::size_t size, std::size_t at) {
    if (at + 2 > size || data[at] != '%' || data[at + 1] != '%')
        return 0;
    if (at + 2 == size)
        return 2;
    if (data[at + 2] == '\n')
        return 3;
    if (data[at + 2] == '\r' && at + 3 < size && data[at + 3] == '\n')
        return 4;
    return 0;
}

} // namespace

std::vector<QByteArray> SplitParts(const std::uint8_t* data, std::size_t size, int maxParts) {
    std::vector<QByteArray> parts;
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= size && static_cast<int>(parts.size()) + 1 < maxParts; ++i) {
        if (i != 0 && data[i - 1] != '\n')
            continue;
        const std::size_t length = SeparatorAt(data, size, i);
        if (length == 0)
            continue;
        // The line end before the separator belongs to the separator.
        std::size_t end = i;
        if (end > begin && data[end - 1] == '\n')
            --end;
        if (end > begin && data[end - 1] == '\r')
            --end;
        parts.emplace_back(reinterpret_cast<const char*>(data + begin),
                           static_cast<qsizetype>(end - begin));
        begin = i + length;
        i = begin - 1;
    }
    parts.emplace_back(reinterpret_cast<const char*>(data + begin),
                       static_cast<qsizetype>(size - begin));
    return parts;
}

QString FreshScratchFolder() {
    static std::unique_ptr<QTemporaryDir> root;
    if (!root)
        root = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/kalvero-fuzz-XXXXXX");
    const QString folder = root->filePath("work");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return folder + '/';
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void TFindings::Check(bool condition, const std::string& what) {
    if (condition)
        return;
    if (++FCount > kMaxFindings)
        return;
    if (!FText.empty())
        FText += '\n';
    FText += what;
}

std::string Shown(const QString& text) {
    std::string out;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        char buffer[8];
        if (u >= 32 && u < 127) {
            out += static_cast<char>(u);
        } else {
            std::snprintf(buffer, sizeof buffer, u < 256 ? "\\x%02X" : "\\u%04X", u);
            out += buffer;
        }
    }
    return out;
}

} // namespace kalvero::fuzz
