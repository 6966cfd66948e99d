#include "platform/random.h"

#include <chrono>

namespace kalvero {

std::uint64_t TSeededRandom::NextBits() {
    std::uint64_t z = (FState += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int TSeededRandom::Next(int range) {
    if (range <= 0)
        return 0;
    return static_cast<int>(NextReal() * range);
}

double TSeededRandom::NextReal() {
    return static_cast<double>(NextBits() >> 11) * 0x1.0p-53;
}

namespace {
TSeededRandom& Instance() {
    static TSeededRandom generator(
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    return generator;
}
} // namespace

TRandomSource& ProcessRandom() {
    return Instance();
}

void SeedProcessRandom(std::uint64_t seed) {
    Instance().Seed(seed);
}

} // namespace kalvero
