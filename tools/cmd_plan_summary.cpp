// kalvero4-tool plan-summary FILE: checks a training plan file without opening a window.

#include "plan/training_plan.h"
#include "tools/commands.h"

#include <QString>
#include <cstdio>

namespace kalvero::tool {

namespace {

int PlanSummary(const std::vector<std::string>& args) {
    const std::vector<std::string> files = Positionals(args);
    if (files.size() != 1) {
        std::fputs("Aufruf: kalvero4-tool plan-summary DATEI\n", stderr);
        return 1;
    }
    TTrainingPlan plan;
    if (!plan.LoadFromFile(QString::fromLocal8Bit(files.front().c_str()))) {
        std::puts("Diese Datei ist kein lesbarer Trainingsplan von Kalvero 4.");
        return 1;
    }
    // The summary's CR LF line breaks become the terminal's line feeds.
    const QString text = plan.Summary().replace(QLatin1String("\r\n"), QLatin1String("\n"));
    std::puts(text.toUtf8().constData());
    return 0;
}

const TCommandRegistration
    registration("plan-summary",
                 "plan-summary DATEI   Zusammenfassung eines Trainingsplans (.kvplan)",
                 PlanSummary);

} // namespace

} // namespace kalvero::tool
