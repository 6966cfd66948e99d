#include "engine/sequence_timer.h"

namespace kalvero {

void TSequenceTimer::Advance(double /*dt*/) {}

} // namespace kalvero
