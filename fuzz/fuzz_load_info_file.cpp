// Any bytes as a ".inf" file: the loader must stay inside its slots and leave a store whose arrays
// match its headers.
#include "info_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

const std::string& InputPath() {
    static const std::string path = "/tmp/fuzz_load_info_file_" + std::to_string(::getpid()) + ".inf";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(InputPath().c_str(), "wb");
    if (!file)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        std::abort();
    if (std::fclose(file) != 0)
        std::abort();

    lexorant::RecordStore store;
    const bool loaded = lexorant::LoadInfoFile(InputPath(), store);
    std::remove(InputPath().c_str()); // libFuzzer ends without exit handlers
    if (!loaded)
        std::abort(); // a readable regular file always loads
    if (store.GInfoSlots.size() != std::size_t{store.GInfo.EntryCount} * lexorant::kGInfoSlotSize ||
        store.XInfoSlots.size() != std::size_t{store.XInfo.EntryCount} * lexorant::kXInfoSlotSize)
        std::abort();
    // What loads must write back as the file's own prefix (bytes the file lacked as zeros).
    const auto encoded = lexorant::EncodeInfoFile(store);
    for (std::size_t i = 0; i < encoded.size(); ++i)
        if (encoded[i] != (i < size ? data[i] : 0))
            std::abort();
    return 0;
}
