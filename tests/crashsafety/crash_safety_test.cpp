// A child process writes protocol lines, exchange merges, the users file or a plan in a loop and
// is killed (SIGKILL) at random moments on a seeded schedule; after every kill the parent checks
// that the files still read, that nothing written before is lost, and that at most the one write
// in flight is missing.

#include "plan/training_plan.h"
#include "protocol/exchange.h"
#include "protocol/lines.h"
#include "protocol/store.h"
#include "protocol/text_file.h"
#include "users/user_manager.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvero {
namespace {

constexpr int kRounds = 70;              // kills per kind of write
constexpr int kChildWriteLimit = 100000; // a child that gets this far stops by itself
constexpr int kWaitLimitMs = 3000;       // longest wait for the writes a round asks for

// Written by the child after each completed write; shared with the parent across fork().
struct TProgress {
    std::atomic<int> Completed;
    std::atomic<int> LastWriteUs; // duration of the child's last write
    std::atomic<bool> InWrite;    // the child is inside a write
};

TProgress* SharedProgress() {
    void* memory =
        mmap(nullptr, sizeof(TProgress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    return memory == MAP_FAILED ? nullptr : new (memory) TProgress{};
}

// One kind of write: the child writes item first, first + 1, ...; Count reads back how many
// items the files hold and checks them, reporting faults with gtest.
struct TWriter {
    std::function<void(int item)> Write;
    std::function<int(int completed)> Count;
};

// Writes items from first on until killed.
[[noreturn]] void RunChild(const TWriter& writer, int first, TProgress& progress) {
    try {
        for (int item = first; item < first + kChildWriteLimit; ++item) {
            const auto begin = std::chrono::steady_clock::now();
            progress.InWrite.store(true);
            writer.Write(item);
            progress.InWrite.store(false);
            const auto took = std::chrono::steady_clock::now() - begin;
            progress.LastWriteUs.store(static_cast<int>(
                std::chrono::duration_cast<std::chrono::microseconds>(took).count()));
            progress.Completed.store(item);
        }
    } catch (...) {
        _exit(3);
    }
    _exit(0);
}

// Waits until the child has completed the given item (or the wait limit has passed).
void AwaitCompleted(const TProgress& progress, int item) {
    for (int waited = 0; progress.Completed.load() < item && waited < kWaitLimitMs * 5; ++waited)
        usleep(200);
}

// Kills kRounds children on a seeded schedule: each round lets the child complete 0 to 2 writes,
// then kills it at a random moment within about the time of one more write. Returns the number
// of items written in total; records how many kills came during a write.
int KillRepeatedly(const TWriter& writer, unsigned seed) {
    TProgress* progress = SharedProgress();
    if (progress == nullptr) {
        ADD_FAILURE() << "no shared memory";
        return 0;
    }
    std::mt19937 schedule(seed);
    int count = 0;
    int killsDuringWrite = 0;
    progress->LastWriteUs.store(2000);
    for (int round = 0; round < kRounds && !testing::Test::HasFailure(); ++round) {
        progress->Completed.store(count);
        progress->InWrite.store(false);
        const int writesFirst = std::uniform_int_distribution<int>(0, 2)(schedule);
        const int writeUs = std::max(100, progress->LastWriteUs.load());
        const int delayUs = std::uniform_int_distribution<int>(0, writeUs * 3 / 2)(schedule);
        const pid_t child = fork();
        if (child == 0)
            RunChild(writer, count + 1, *progress);
        if (child < 0) {
            ADD_FAILURE() << "fork failed";
            break;
        }
        AwaitCompleted(*progress, count + writesFirst);
        usleep(static_cast<useconds_t>(delayUs));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) != 0)
            << "the writing child failed in round " << round;
        killsDuringWrite += progress->InWrite.load() ? 1 : 0;
        const int completed = progress->Completed.load();
        const int found = writer.Count(completed);
        EXPECT_TRUE(found == completed || found == completed + 1)
            << "round " << round << ": " << completed << " writes completed, " << found << " found";
        count = found;
    }
    munmap(progress, sizeof(TProgress));
    testing::Test::RecordProperty("kills_during_write", killsDuringWrite);
    testing::Test::RecordProperty("items_written", count);
    return count;
}

QDateTime StartOf(int item) {
    return QDateTime(QDate(2025, 3, 7), QTime(8, 0)).addSecs(item);
}

TSessionRec RunOf(int item) {
    TSessionRec run;
    run.Start = StartOf(item);
    run.Minutes = 5;
    run.ProgramKind = "Profil";
    run.ProgramName = QStringLiteral("Lauf %1").arg(item);
    run.Background = "Wiese";
    run.Stimulus = "Hummel";
    run.Count = 30;
    run.Speed = 5;
    run.Direction = "nach links";
    run.SpeedMode = "gleich";
    run.Alertness = "Stern";
    run.Pauses = item;
    run.EndReason = "Esc";
    return run;
}

TStimulusArray Stimuli(int item) {
    return {{1, 10.0, 1, 30, soHit, item}, {2, 20.0, 2, 70, soMiss, -1}};
}

QStringList StimulusLines(int item) {
    QStringList lines;
    for (const TStimulusRec& stimulus : Stimuli(item))
        lines << StimulusLine(RunOf(item), stimulus);
    return lines;
}

// The data lines of a protocol file (header and blank lines left out), each of which must be
// one of the lines the writer produces.
QStringList DataLines(const QString& file) {
    QStringList lines;
    ReadLines(lines, file);
    lines.removeIf([](const QString& line) { return line.isEmpty(); });
    if (!lines.isEmpty() && lines.first().startsWith(QLatin1String("Datum;")))
        lines.removeFirst();
    return lines;
}

// The runs 1 .. n, in order, and nothing else.
int CheckRunFile(const QString& file) {
    const QStringList lines = DataLines(file);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int item = static_cast<int>(i) + 1;
        if (lines[i] != SessionLine(RunOf(item))) {
            ADD_FAILURE() << "run line " << item << " is " << lines[i].toStdString();
            return -1;
        }
    }
    return static_cast<int>(lines.size());
}

// Stimulus lines: whole runs only, in order, each run at most once, none for runs not written.
// lost holds the runs whose stimuli were in flight when a kill came; only the last run may be
// added to it.
void CheckStimulusFile(const QString& file, int runs, QSet<int>& lost) {
    const QStringList lines = DataLines(file);
    QStringList expected;
    int newlyLost = 0;
    for (int item = 1; item <= runs; ++item) {
        if (lost.contains(item))
            continue;
        const QStringList own = StimulusLines(item);
        if (lines.mid(expected.size(), own.size()) != own) {
            ++newlyLost;
            EXPECT_EQ(item, runs) << "stimuli of an earlier run are missing";
            lost.insert(item);
            continue;
        }
        expected << own;
    }
    EXPECT_LE(newlyLost, 1);
    EXPECT_EQ(lines, expected) << "stimulus file holds unexpected lines";
}

// Stimulus lines: those of the runs 1 .. n in order, whole runs only, n at most runs; returns n.
int CheckStimulusPrefix(const QString& file, int runs) {
    const QStringList lines = DataLines(file);
    QStringList expected;
    for (int run = 1; run <= runs && expected.size() < lines.size(); ++run)
        expected << StimulusLines(run);
    EXPECT_EQ(lines, expected) << "stimulus file is no whole prefix";
    return static_cast<int>(lines.size() / 2);
}

class CrashSafetyTest : public testing::Test {
protected:
    QString Path(const QString& name) const { return FDir.filePath(name); }
    // Files in the folder that no writer asked for (temporary files of interrupted replaces).
    int LeftoverFiles(const QString& folder, const QStringList& wanted) const {
        int count = 0;
        for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
            if (!wanted.contains(name)) {
                ++count;
                std::printf("left over: %s\n", qPrintable(name));
            }
        return count;
    }
    QTemporaryDir FDir;
};

TEST_F(CrashSafetyTest, AppendingRunsLosesAtMostTheRunInFlight) {
    const TProtocolStore store(Path("Protokolle"));
    QSet<int> lostStimuli;
    const TWriter writer{
        [&](int item) { store.AppendSession("Anna", RunOf(item), Stimuli(item)); },
        [&](int) {
            const int runs = CheckRunFile(store.RunFileName("Anna"));
            const TSessionArray loaded = store.LoadSessions("Anna");
            EXPECT_EQ(static_cast<int>(loaded.size()), runs) << "run lines that do not parse";
            CheckStimulusFile(store.StimulusFileName("Anna"), runs, lostStimuli);
            EXPECT_FALSE(QFileInfo::exists(PendingFileName(store.RunFileName("Anna"))));
            return runs;
        }};
    EXPECT_GT(KillRepeatedly(writer, 1), 0);
}

TEST_F(CrashSafetyTest, MergingAnExchangeFileKeepsTheTargetWhole) {
    const TProtocolStore store(Path("Protokolle"));
    const QString exchange = Path("Anna.kvprot");
    int runsBefore = 0, stimulusRunsBefore = 0;
    const TWriter writer{[&](int item) {
                             // The exchange file holds the last few runs, as repeated exports from
                             // home do.
                             QStringList lines{"KALVERO4-PROTOKOLL;1", "Nutzer;Anna",
                                               "Exportiert;07.03.2025 12:00", "[Durchgaenge]"};
                             QStringList stimuli;
                             for (int run = std::max(1, item - 4); run <= item; ++run) {
                                 lines << SessionLine(RunOf(run));
                                 stimuli << StimulusLines(run);
                             }
                             lines << "[Reize]" << stimuli << "[Suchaufgabe]";
                             WriteTextFile(exchange, JoinLines(lines));
                             int newRuns = 0;
                             if (!ImportProtocol(store, exchange, "Berta", newRuns))
                                 throw std::runtime_error("import failed");
                         },
                         [&](int completed) {
                             const int runs = CheckRunFile(store.RunFileName("Berta"));
                             const int stimulusRuns =
                                 CheckStimulusPrefix(store.StimulusFileName("Berta"), runs);
                             // Runs are merged before stimuli, so the stimuli of imports cut off
                             // in flight may lag until an import completes; stimuli once there
                             // stay, and a completed import brings all of its own.
                             EXPECT_GE(stimulusRuns, stimulusRunsBefore);
                             if (completed > runsBefore) {
                                 EXPECT_GE(stimulusRuns, completed);
                             }
                             stimulusRunsBefore = stimulusRuns;
                             runsBefore = runs;
                             return runs;
                         }};
    EXPECT_GT(KillRepeatedly(writer, 2), 0);
    RecordProperty("leftover_files",
                   LeftoverFiles(store.Folder(), {"Berta.csv", "Berta_Reize.csv"}));
}

TEST_F(CrashSafetyTest, WritingTheUsersFileKeepsEveryEarlierValue) {
    const QString file = Path("users.ini");
    TUserManager(file).SetLastUser("Anna");
    // Odd items register a user, even items store a value of Anna: one write each.
    const TWriter writer{
        [&](int item) {
            TUserManager users(file);
            if (item % 2)
                users.SaveUser(QStringLiteral("Nutzer %1").arg(item));
            else
                users.SetValue("Anna", QStringLiteral("Wert%1").arg(item), QString::number(item));
        },
        [&](int completed) {
            const TUserManager users(file);
            EXPECT_EQ(users.LastUser(), "Anna");
            const auto present = [&](int item) {
                return item % 2 ? users.UserExists(QStringLiteral("Nutzer %1").arg(item))
                                : users.GetValue("Anna", QStringLiteral("Wert%1").arg(item)) ==
                                      QString::number(item);
            };
            for (int item = 1; item <= completed; ++item)
                EXPECT_TRUE(present(item)) << "item " << item << " lost";
            return present(completed + 1) ? completed + 1 : completed;
        }};
    EXPECT_GT(KillRepeatedly(writer, 3), 0);
    RecordProperty("leftover_files", LeftoverFiles(FDir.path(), {"users.ini"}));
}

TEST_F(CrashSafetyTest, SavingAPlanLeavesTheOldOrTheNewPlan) {
    const QString file = Path("Plaene/Anna.kvplan");
    const QString padding(4000, QChar(0x00FC)); // escaped to 24000 bytes: a longer write
    const TWriter writer{[&](int item) {
                             TTrainingPlan plan;
                             plan.Settings = R"({"speed":5})";
                             plan.Minutes = item;
                             plan.Note = QStringLiteral("Hinweis %1 ").arg(item) + padding;
                             plan.SaveToFile(file);
                         },
                         [&](int completed) {
                             if (completed == 0 && !QFileInfo::exists(file))
                                 return 0;
                             TTrainingPlan plan;
                             EXPECT_TRUE(plan.LoadFromFile(file)) << "the plan file does not load";
                             EXPECT_EQ(plan.Note,
                                       QStringLiteral("Hinweis %1 ").arg(plan.Minutes) + padding);
                             return static_cast<int>(plan.Minutes);
                         }};
    EXPECT_GT(KillRepeatedly(writer, 4), 0);
    RecordProperty("leftover_files", LeftoverFiles(Path("Plaene"), {"Anna.kvplan"}));
}

} // namespace
} // namespace kalvero
