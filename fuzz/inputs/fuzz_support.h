#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kalvero::fuzz {

// The parts of a structured input, cut at every line holding only "%%" (LF or CR LF line ends;
// the line end before it is part of the separator); at most maxParts parts, the last one keeps
// any further separators.
std::vector<QByteArray> SplitParts(const std::uint8_t* data, std::size_t size, int maxParts);

// A scratch folder of this process, emptied for each input; ends with "/".
QString FreshScratchFolder();

// Writes bytes to a file, creating its folder; false when that fails.
bool WriteBytes(const QString& path, const QByteArray& bytes);

// Collects what did not hold; the first few failures are kept.
class TFindings {
public:
    void Check(bool condition, const std::string& what);
    void Fail(const std::string& what) { Check(false, what); }
    std::string Text() const { return FText; }

private:
    std::string FText;
    int FCount = 0;
};

// Text for a failure message: printable ASCII kept, the rest as \xNN or \uNNNN.
std::string Shown(const QString& text);

} // namespace kalvero::fuzz
