#include "engine/sequence_file.h"
#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace kalvero {
namespace {

using TEntries = std::vector<std::pair<std::string, std::int32_t>>;

TEntries EntriesOf(const TSequenceLoad& load) {
    TEntries entries;
    for (const TPlaylistItem& item : load.Playlist) {
        EXPECT_TRUE(item.SettingsJson.isEmpty());
        entries.emplace_back(item.FileName.toStdString(), item.Duration);
    }
    return entries;
}

struct TReadCase {
    const char* Name;
    const char* Text;
    TSequenceLoadStatus Status;
    TEntries Entries;
};

class SequenceReadTest : public ::testing::TestWithParam<TReadCase> {};

TEST_P(SequenceReadTest, FollowsTheReaderRules) {
    const TReadCase& c = GetParam();
    const TSequenceLoad load = ParseSequenceText(QByteArray(c.Text));
    EXPECT_EQ(load.Status, c.Status);
    EXPECT_EQ(EntriesOf(load), c.Entries);
}

constexpr auto Loaded = TSequenceLoadStatus::Loaded;
constexpr auto NoEntries = TSequenceLoadStatus::NoEntries;
constexpr auto Malformed = TSequenceLoadStatus::Malformed;
constexpr std::int32_t MaxInt = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t MinInt = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Cases, SequenceReadTest,
    ::testing::Values(
        TReadCase{"WriterForm",
                  R"({"playlist":[{"file":"a.json","duration":60},)"
                  R"({"file":"b.json","duration":60}]})",
                  Loaded,
                  {{"a.json", 60}, {"b.json", 60}}},
        TReadCase{"EmptyPlaylist", R"({"playlist":[]})", NoEntries, {}},
        TReadCase{"NoPlaylist", R"({"list":[{"file":"a.json"}]})", NoEntries, {}},
        TReadCase{"NotJson", "playlist: a.json", NoEntries, {}},
        TReadCase{"EmptyText", "", NoEntries, {}},
        TReadCase{"TopLevelArray", R"([{"file":"a.json"}])", Malformed, {}},
        TReadCase{"PlaylistNotArray", R"({"playlist":{"file":"a.json"}})", Malformed, {}},
        TReadCase{
            "ElementNotObject", R"({"playlist":[{"file":"a.json"},"b.json"]})", Malformed, {}},
        TReadCase{"EntriesWithoutTextFileAreSkipped",
                  R"({"playlist":[{"duration":5},{"file":7},{"file":null},{"file":"c.json"}]})",
                  Loaded,
                  {{"c.json", 30}}},
        TReadCase{
            "OnlySkippedEntries", R"({"playlist":[{"duration":5},{"file":true}]})", NoEntries, {}},
        TReadCase{"Durations",
                  R"({"playlist":[{"file":"a"},{"file":"b","duration":0},)"
                  R"({"file":"c","duration":-5},{"file":"d","duration":"60"},)"
                  R"({"file":"e","duration":12.5},{"file":"f","duration":99999999999},)"
                  R"({"file":"g","duration":-99999999999},{"file":"h","duration":null}]})",
                  Loaded,
                  {{"a", 30},
                   {"b", 0},
                   {"c", -5},
                   {"d", 30},
                   {"e", 30},
                   {"f", MaxInt},
                   {"g", MinInt},
                   {"h", 30}}},
        TReadCase{"MemberOrderAndOtherMembers",
                  R"({"name":"x","playlist":[{"duration":7,"note":1,"file":"a.json"}],"v":2})",
                  Loaded,
                  {{"a.json", 7}}},
        TReadCase{"ByteOrderMarkAndBlanks",
                  "\xEF\xBB\xBF \r\n{ \"playlist\" : [ { \"file\" : \"a.json\" } ] }\r\n",
                  Loaded,
                  {{"a.json", 30}}},
        TReadCase{"EscapesAndUtf8",
                  "{\"playlist\":[{\"file\":\"\\u00dcbung \\\"1\\\".json\"},"
                  "{\"file\":\"\xC3\xA4rger.json\"}]}",
                  Loaded,
                  {{"\xC3\x9C"
                    "bung \"1\".json",
                    30},
                   {"\xC3\xA4rger.json", 30}}},
        TReadCase{"MalformedUtf8ReadsAsReplacement",
                  "{\"playlist\":[{\"file\":\"a\xFF.json\"}]}",
                  Loaded,
                  {{"a\xEF\xBF\xBD.json", 30}}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SequenceMessages, TellTheCountOrThatNothingWasFound) {
    const TSequenceLoad three = ParseSequenceText(
        R"({"playlist":[{"file":"a.json"},{"file":"b.json"},{"file":"a.json"}]})");
    EXPECT_EQ(three.Message, QStringLiteral("3 Einträge in der Sequenz geladen. Start!"));
    EXPECT_EQ(ParseSequenceText(R"({"playlist":[]})").Message,
              QStringLiteral("Keine gültigen Einträge in der Playlist gefunden."));
    EXPECT_FALSE(ParseSequenceText(R"({"playlist":7})").Message.isEmpty());
}

TEST(SequenceFile, MissingFileIsNothingAndAnUnreadableOneIsAnError) {
    QTemporaryDir dir;
    EXPECT_EQ(LoadSequenceFile(dir.filePath("fehlt.seq")).Status, TSequenceLoadStatus::Missing);
    ASSERT_TRUE(QDir(dir.path()).mkdir("ordner.seq"));
    const TSequenceLoad folder = LoadSequenceFile(dir.filePath("ordner.seq"));
    EXPECT_EQ(folder.Status, TSequenceLoadStatus::Malformed);
    EXPECT_TRUE(folder.Message.contains("ordner.seq"));
}

TEST(SequenceWriter, CompactWithoutByteOrderMarkAndOneDurationForAll) {
    const QStringList files = {"A.json", "B.json", "A.json", "C.json"};
    EXPECT_EQ(SequenceFileText(files, 90).toStdString(),
              R"({"playlist":[{"file":"A.json","duration":90},{"file":"B.json","duration":90},)"
              R"({"file":"A.json","duration":90},{"file":"C.json","duration":90}]})");
    EXPECT_EQ(SequenceFileText({}, 60).toStdString(), R"({"playlist":[]})");
}

struct TNameCase {
    const char* Name;
    const char* FileName; // UTF-8
    const char* Written;  // the quoted form in the file, UTF-8
};

class SequenceNameTest : public ::testing::TestWithParam<TNameCase> {};

TEST_P(SequenceNameTest, IsWrittenWithShortEscapesOnlyAndReadsBackUnchanged) {
    const TNameCase& c = GetParam();
    const QString name = QString::fromUtf8(c.FileName);
    const QByteArray text = SequenceFileText({name}, 60);
    EXPECT_EQ(text.toStdString(),
              std::string(R"({"playlist":[{"file":)") + c.Written + R"(,"duration":60}]})");
    const TSequenceLoad load = ParseSequenceText(text);
    ASSERT_EQ(load.Playlist.size(), 1u);
    EXPECT_EQ(load.Playlist[0].FileName, name);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SequenceNameTest,
    ::testing::Values(
        TNameCase{"Umlauts", "Übung für Ärger ß.json", "\"Übung für Ärger ß.json\""},
        TNameCase{"QuoteAndBackslash", "a\"b\\c.json", R"("a\"b\\c.json")"},
        TNameCase{"ShortEscapes", "a\b\t\n\f\rb", R"("a\b\t\n\f\rb")"},
        TNameCase{"SlashUnchanged", "sub/a.json", R"("sub/a.json")"},
        TNameCase{"PlaceholdersStayText", "%1 %2.json", R"("%1 %2.json")"},
        // Not valid JSON when written unchanged; written as \u escapes instead.
        TNameCase{"OtherControlCharacters", "a\x01\x1F.json", R"("a\u0001\u001F.json")"},
        TNameCase{"BeyondTheBasicPlane", "\xF0\x9F\x98\x80.json", "\"\xF0\x9F\x98\x80.json\""}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SequenceWriter, ReplacesAnExistingFileAndReportsAFailedWrite) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Folge.seq");
    WriteFileAtomic(path, "alt und viel laenger als die neue Datei");
    SaveSequenceFile(path, {"A.json"}, 5);
    QByteArray bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes.toStdString(), R"({"playlist":[{"file":"A.json","duration":5}]})");

    ASSERT_TRUE(QDir(dir.path()).mkdir("Ordner.seq"));
    EXPECT_THROW(SaveSequenceFile(dir.filePath("Ordner.seq"), {"A.json"}, 5), TWriteError);
}

} // namespace
} // namespace kalvero
