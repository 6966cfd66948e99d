#pragma once

#include <QString>

namespace kalvero {

class TForm1;

// The newcomer's journey through the real program, switched on by the environment variable
// KALVERO_JOURNEY_TEST naming an output folder for screenshots and results. KALVERO_JOURNEY_DATA
// names the fresh data folder of this start.
//
// Without KALVERO_JOURNEY_IMPORT (the patient's side, default therapist mode): a new user is
// typed into the welcome window and created, "Stern" is chosen as alertness stimulus, "Start",
// the safety notice is confirmed, the space bar answers the first star, Esc after 6 seconds,
// the result message is confirmed, the history window shows the run and exports it into the
// output folder. Results go to "journey-export.txt".
//
// With KALVERO_JOURNEY_IMPORT naming an exported protocol (the therapist's side, therapist mode
// written into the users file): the file's user is created in the welcome window, the history
// window reads the file in and prints to "journey.pdf" in the output folder. Results go to
// "journey-import.txt".
//
// Every step leaves a screenshot of the whole screen in the output folder.

struct TJourneySetup {
    QString Output;     // screenshots, results, the exported protocol, the printout
    QString DataFolder; // the data folder of this start
    QString ImportFile; // the protocol to read in, "" on the patient's side
};

// The setup named by the environment; Output is "" when the journey is off.
TJourneySetup JourneySetup();

// Before the main window exists: the data folder, and therapist mode on the therapist's side.
void PrepareJourney(const TJourneySetup& setup);

// Runs the steps on the shown window from the event loop; the program quits at the end.
void RunJourney(TForm1& form, const TJourneySetup& setup);

} // namespace kalvero
