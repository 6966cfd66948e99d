#include "tools/commands.h"

#include <algorithm>
#include <cstdio>

namespace kalvero::tool {

std::vector<TCommand>& Commands() {
    static std::vector<TCommand> commands;
    return commands;
}

std::string OptionValue(const std::vector<std::string>& args, const std::string& name,
                        const std::string& fallback) {
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == name)
            return args[i + 1];
    return fallback;
}

bool HasFlag(const std::vector<std::string>& args, const std::string& name) {
    return std::find(args.begin(), args.end(), name) != args.end();
}

std::vector<std::string> Positionals(const std::vector<std::string>& args,
                                     const std::vector<std::string>& flagsWithoutValue) {
    std::vector<std::string> result;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0) {
            result.push_back(a);
            continue;
        }
        const bool takesValue = std::find(flagsWithoutValue.begin(), flagsWithoutValue.end(), a) ==
                                flagsWithoutValue.end();
        if (takesValue)
            ++i;
    }
    return result;
}

} // namespace kalvero::tool

namespace {
void PrintUsage() {
    std::puts("kalvero4-tool <Befehl> [Optionen]");
    for (const auto& c : kalvero::tool::Commands())
        std::printf("  %s\n", c.Usage.c_str());
}
} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || std::string(argv[1]) == "--help") {
        PrintUsage();
        return argc < 2 ? 1 : 0;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    for (const auto& c : kalvero::tool::Commands())
        if (c.Name == argv[1])
            return c.Run(args);
    std::fprintf(stderr, "Unbekannter Befehl: %s\n", argv[1]);
    PrintUsage();
    return 1;
}
