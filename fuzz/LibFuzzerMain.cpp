// The libFuzzer entry of one target, chosen when compiling with
// -DQUARNET_FUZZ_TARGET=<function>.
#include "FuzzTargets.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QUARNET_FUZZ_TARGET(std::string_view(reinterpret_cast<const char *>(data), size));
    return 0;
}
