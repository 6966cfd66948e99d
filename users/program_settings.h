#pragma once

namespace kalvero {

class TUserManager;

// The installation-wide display modes of the frame loop, keys "Takt" and "Fein" in section
// "Programm" of the users file: "1" (on, the default) or "0". Other text reads as the default.
bool ReadTaktMode(const TUserManager& users);
bool ReadFeinMode(const TUserManager& users);
void WriteTaktMode(TUserManager& users, bool on);
void WriteFeinMode(TUserManager& users, bool on);

} // namespace kalvero
