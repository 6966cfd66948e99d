#include "engine/cursor_idle.h"

namespace kalvero {

void TCursorIdle::Advance(double dt) {
    FCursorIdleTime += dt;
    if (FCursorIdleTime > HideAfterSec && !FCursorIsHidden)
        SetHidden(true);
}

void TCursorIdle::MouseMoved() {
    FCursorIdleTime = 0.0;
    ShowAgain();
}

void TCursorIdle::ResetForRun() {
    FCursorIdleTime = 0.0;
    FCursorIsHidden = false;
}

void TCursorIdle::ShowAgain() {
    if (FCursorIsHidden)
        SetHidden(false);
}

void TCursorIdle::SetHidden(bool hidden) {
    FCursorIsHidden = hidden;
    if (FDisplay)
        FDisplay->SetCursorHidden(hidden);
}

} // namespace kalvero
