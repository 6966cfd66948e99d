#pragma once

#include <QString>
#include <QStringList>

namespace kalvero {

// An INI text file read and written by the program itself.
//
// Sections and keys are compared without regard to letter case; their order in the file is kept.
// The file is UTF-8 (a byte order mark, CR LF or LF line ends, blank, comment and garbage lines are
// all read without error; a file that is not valid UTF-8 is read as Latin-1). Nothing is cached:
// every read parses the file, every write reads it, changes it and replaces it atomically, so a
// crash never leaves a half-written file and two objects on one file always see each other's
// changes.
//
// Names and values are free text. Characters that would change the meaning of a line ("%", "[",
// "]", "=", line breaks and other control characters, a leading ";" or "#", leading and trailing
// blanks) are written as "%XX"; every other character, umlauts included, is written as it is.
//
// A section or key that occurs several times reads as one: the first value of a key wins.
// A section counts as existing only while it holds at least one key.
class TIniFile {
public:
    // Values read back are cut to this many characters.
    static constexpr int MaxValueLength = 2047;

    explicit TIniFile(QString path);

    const QString& Path() const { return FPath; }

    // Names of the sections that hold at least one key, in file order, each name once
    // (spelled as at its first occurrence).
    QStringList ReadSections() const;
    bool SectionExists(const QString& section) const;
    // Keys of a section in file order, each once.
    QStringList ReadKeys(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue = QString()) const;

    // Writes throw TWriteError (platform/atomic_file.h) when the file cannot be replaced, and
    // also when an existing file cannot be read, so unread contents are never overwritten.
    void WriteString(const QString& section, const QString& key, const QString& value);
    // Removes every occurrence of the section with all its lines; no write when it is absent.
    void EraseSection(const QString& section);
    // Removes every occurrence of the key in the section; no write when it is absent.
    void DeleteKey(const QString& section, const QString& key);

private:
    QString FPath;
};

// The escaping used for names and values in the file; exposed for tests and tools.
QString IniEncodeName(const QString& name);
QString IniEncodeValue(const QString& value);
QString IniDecode(const QString& text);

} // namespace kalvero
