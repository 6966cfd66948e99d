#pragma once

#include <QString>

namespace kalvero {

class TForm1;

// A self-check of the real program, switched on by the environment variable
// KALVERO_SMOKE_TEST naming a folder: the program runs on a fresh data folder inside it in
// patient mode, takes the welcome window's user, confirms every message box, saves the window's
// pixels as "settings.png", presses "Start", saves "running.png" a second later and "running2.png"
// shortly after, pauses with P ("paused.png"), continues with the space bar, ends the run with
// Esc, saves "stopped.png", writes "result.txt" and quits.

// The folder named by KALVERO_SMOKE_TEST, or "" when the check is off.
QString SmokeTestFolder();

// Before the main window exists: the data folder "data/" in the folder, in patient mode.
void PrepareSmokeTest(const QString& folder);

// Runs the steps on the shown window from the event loop.
void RunSmokeTest(TForm1& form, const QString& folder);

} // namespace kalvero
