#include "app/form2_sequence_manager.h"
#include "app/journey_test.h"
#include "app/main_window.h"
#include "app/smoke_test.h"
#include "app/user_session.h"
#include "platform/atomic_file.h"
#include "platform/random.h"
#include "platform/ui/dialogs.h"
#include "users/operating_mode.h"
#include "users/user_manager.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <optional>

namespace {

// "--modus=patient" or "--modus=therapeut" sets the installation's operating mode once.
void ApplyModeSwitch(const QStringList& arguments) {
    try {
        kalvero::TUserManager users;
        if (kalvero::ApplyOperatingModeOption(users, arguments) ==
            kalvero::TModeOptionResult::Invalid)
            std::fputs("Kalvero 4: --modus kennt nur \"patient\" und \"therapeut\"\n", stderr);
    } catch (const kalvero::TWriteError& error) {
        kalvero::ShowMessage(nullptr, kalvero::TMsgKind::Error, QStringLiteral("Kalvero 4"),
                             QString::fromUtf8(error.what()));
    }
}

std::uint64_t ClockSeed() {
    return static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvero 4"));
    kalvero::SeedProcessRandom(ClockSeed());

    const QString smokeFolder = kalvero::SmokeTestFolder();
    if (!smokeFolder.isEmpty())
        kalvero::PrepareSmokeTest(smokeFolder);
    const kalvero::TJourneySetup journey = kalvero::JourneySetup();
    if (!journey.Output.isEmpty())
        kalvero::PrepareJourney(journey);
    ApplyModeSwitch(QApplication::arguments().mid(1));

    // Declared before the window so that it still answers while the window closes.
    std::optional<kalvero::TUserSession> userSession;
    kalvero::TForm1 form;
    userSession.emplace(form);
    // The sequence manager window, created hidden with the main window.
    kalvero::TForm2 sequenceManager(&form);

    if (!smokeFolder.isEmpty())
        kalvero::RunSmokeTest(form, smokeFolder);
    if (!journey.Output.isEmpty())
        kalvero::RunJourney(form, journey);
    form.ShowCoveringMonitor();
    return app.exec();
}
