#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kalvero::tool {

// One sub-command of kalvero4-tool. Each command lives in its own cmd_<name>.cpp and registers
// itself with a static TCommandRegistration.
using TCommandFn = std::function<int(const std::vector<std::string>& args)>;

struct TCommand {
    std::string Name;
    std::string Usage;
    TCommandFn Run;
};

std::vector<TCommand>& Commands();

struct TCommandRegistration {
    TCommandRegistration(std::string name, std::string usage, TCommandFn run) {
        Commands().push_back({std::move(name), std::move(usage), std::move(run)});
    }
};

// Value of "--name VALUE" in args, or fallback.
std::string OptionValue(const std::vector<std::string>& args, const std::string& name,
                        const std::string& fallback = {});
bool HasFlag(const std::vector<std::string>& args, const std::string& name);
// Arguments that are neither options nor option values, in order.
std::vector<std::string> Positionals(const std::vector<std::string>& args,
                                     const std::vector<std::string>& flagsWithoutValue = {});

} // namespace kalvero::tool
