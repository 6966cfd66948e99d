#include "fuzz/inputs/fuzz_support.h"
#include "fuzz/inputs/one_input.h"
#include "plan/plan_json.h"
#include "plan/training_plan.h"
#include "platform/atomic_file.h"

#include <nlohmann/json.hpp>

namespace kalvero::fuzz {

namespace {

bool SameItems(const std::vector<TPlanItem>& a, const std::vector<TPlanItem>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].Name != b[i].Name || a[i].Duration != b[i].Duration ||
            a[i].Settings != b[i].Settings)
            return false;
    return true;
}

std::string DifferentField(const TTrainingPlan& a, const TTrainingPlan& b) {
    if (a.Kind != b.Kind)
        return "Kind";
    if (a.Name != b.Name)
        return "Name " + Shown(a.Name) + " / " + Shown(b.Name);
    if (a.Patient != b.Patient || a.Therapist != b.Therapist || a.Created != b.Created)
        return "Patient, Therapist or Created";
    if (a.Note != b.Note)
        return "Note";
    if (a.Minutes != b.Minutes || a.Locked != b.Locked || a.SearchTest != b.SearchTest)
        return "Minutes, Locked or SearchTest";
    if (a.Kind == pkProfile && a.Settings != b.Settings)
        return "Settings " + Shown(a.Settings) + " / " + Shown(b.Settings);
    if (a.Kind == pkSequence && !SameItems(a.Items, b.Items))
        return "Items";
    return {};
}

// The file text after the byte order mark: printable ASCII only, one JSON object (DEL, 127, is
// ASCII and written as it is).
void CheckWrittenFile(TFindings& findings, const QByteArray& file) {
    findings.Check(file.startsWith(Utf8Bom()), "saved plan without byte order mark");
    const QByteArray text = file.mid(3);
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 127) {
            findings.Fail("saved plan holds a byte outside printable ASCII");
            break;
        }
    findings.Check(nlohmann::json::accept(text.constData(), text.constData() + text.size()),
                   "saved plan is not JSON");
}

// Whether the text is a plan file at all (a root object with an integer "kalvero_plan").
bool IsPlanText(const QByteArray& bytes) {
    TJsonDocument doc;
    return doc.Parse(bytes) && JsonInteger(JsonMember(doc.Root(), "kalvero_plan")).has_value();
}

} // namespace

// The input is the file.
std::string PlanInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString folder = FreshScratchFolder();
    const QString path = folder + "Plan.kvplan";
    if (!WriteBytes(path, bytes))
        return "scratch file cannot be written";
    TFindings findings;
    TTrainingPlan plan;
    plan.Note = QStringLiteral("vorher");
    const bool loaded = plan.LoadFromFile(path);
    const bool isPlan = IsPlanText(bytes);
    findings.Check(loaded == (isPlan && plan.Valid()), "LoadFromFile result");
    if (!isPlan) {
        findings.Check(plan.Note == QStringLiteral("vorher"), "a foreign file changed the plan");
        return findings.Text();
    }
    findings.Check(!plan.Summary().isEmpty(), "empty summary");
    for (const TPlanItem& item : plan.Items) {
        findings.Check(item.Duration >= 5, "section shorter than 5 seconds");
        SettingsSummary(item.Settings);
    }

    const QString copy = folder + "Kopie/Plan.kvplan";
    try {
        plan.SaveToFile(copy);
    } catch (const TWriteError&) {
        findings.Fail("saving the plan failed");
        return findings.Text();
    }
    QByteArray written;
    ReadWholeFile(copy, written);
    CheckWrittenFile(findings, written);
    TTrainingPlan again;
    findings.Check(again.LoadFromFile(copy) == plan.Valid(), "saved plan loads differently");
    const std::string different = DifferentField(plan, again);
    findings.Check(different.empty(), "saving and loading changed " + different);
    again.SaveToFile(copy);
    QByteArray rewritten;
    ReadWholeFile(copy, rewritten);
    findings.Check(rewritten == written, "saving the loaded copy gives another file");
    return findings.Text();
}

} // namespace kalvero::fuzz
