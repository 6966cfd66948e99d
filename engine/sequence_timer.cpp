#include "engine/sequence_timer.h"

#include "engine/sequence_player.h"

namespace kalvero {

void TSequenceTimer::Advance(double dt) {
    if (FPlayer == nullptr || !FPlayer->FPlaylistActive)
        return;
    FPlaylistTimer -= dt;
    if (FPlaylistTimer <= 0.0)
        FPlayer->NextSequenceEntry();
}

} // namespace kalvero
