#pragma once

#include <cstdint>

namespace kalvero {

// Source of uniform random numbers. The program uses one process-wide generator
// (ProcessRandom), seeded once at start; tests pass their own seeded instance.
class TRandomSource {
public:
    virtual ~TRandomSource() = default;
    // A whole number in 0 .. range - 1; 0 when range <= 0.
    virtual int Next(int range) = 0;
    // A real number in [0, 1).
    virtual double NextReal() = 0;
};

// Deterministic generator (splitmix64): the same seed gives the same draws on every machine.
class TSeededRandom final : public TRandomSource {
public:
    explicit TSeededRandom(std::uint64_t seed) : FState(seed) {}
    int Next(int range) override;
    double NextReal() override;
    void Seed(std::uint64_t seed) { FState = seed; }

private:
    std::uint64_t NextBits();
    std::uint64_t FState;
};

// The process-wide generator, seeded from the clock on first use unless SeedProcessRandom ran.
TRandomSource& ProcessRandom();
void SeedProcessRandom(std::uint64_t seed);

} // namespace kalvero
