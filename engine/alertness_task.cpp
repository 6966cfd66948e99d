#include "engine/alertness_task.h"

namespace kalvero {

void TAlertnessTask::ResetAlertness() {}

void TAlertnessTask::UpdateAlertness(double /*dt*/) {}

} // namespace kalvero
