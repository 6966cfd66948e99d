#include "engine/cursor_idle.h"

namespace kalvero {

void TCursorIdle::Advance(double /*dt*/) {}

} // namespace kalvero
