// The libFuzzer entry of one target: KALVERO_FUZZ_INPUT names its function of one_input.h.
// A finding is printed and aborts, so that libFuzzer keeps the input.
#include "fuzz/inputs/one_input.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string finding = kalvero::fuzz::KALVERO_FUZZ_INPUT(data, size);
    if (!finding.empty()) {
        std::fprintf(stderr, "%s\n", finding.c_str());
        std::abort();
    }
    return 0;
}
