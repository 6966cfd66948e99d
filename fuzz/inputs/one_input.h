#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kalvero::fuzz {

// Each function feeds one fuzz input to one reader of outside input and checks what must hold
// afterwards. The result is empty when everything held, otherwise it says what did not. Crashes
// and sanitizer reports are left to the caller's process.

// Settings text (and the same bytes as a profile file) applied to the settings controls.
std::string SettingsInput(const std::uint8_t* data, std::size_t size);
// A profile file: reading, saving and reading the saved file again.
std::string ProfileInput(const std::uint8_t* data, std::size_t size);
// A ".seq" file: reading, the writer form and playing its entries.
std::string SequenceInput(const std::uint8_t* data, std::size_t size);
// A ".kvplan" file: loading, summary, saving and loading again.
std::string PlanInput(const std::uint8_t* data, std::size_t size);
// Lines of the run and search-test files: parsing, writing and parsing again.
std::string ProtocolLinesInput(const std::uint8_t* data, std::size_t size);
// The users file: the INI reader, TUserManager's reads, one write and one removal.
std::string UsersInput(const std::uint8_t* data, std::size_t size);
// Protocol exchange files: import into a target with existing lines, and export then import.
std::string ExchangeInput(const std::uint8_t* data, std::size_t size);

// The inputs by the name of their corpus folder (tests/fuzz/<name>/).
using TOneInput = std::string (*)(const std::uint8_t* data, std::size_t size);
struct TFuzzTarget {
    const char* Name;
    TOneInput Input;
};
inline constexpr TFuzzTarget FuzzTargets[] = {
    {"settings", SettingsInput},
    {"profile", ProfileInput},
    {"sequence", SequenceInput},
    {"plan", PlanInput},
    {"protocol_lines", ProtocolLinesInput},
    {"users", UsersInput},
    {"exchange", ExchangeInput},
};

} // namespace kalvero::fuzz
