#include "engine/follower.h"

namespace kalvero {

void TFollower::Advance(double /*dt*/) {}

} // namespace kalvero
