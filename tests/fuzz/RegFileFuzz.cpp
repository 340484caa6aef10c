// Fuzzes the .reg reader: a file that loads saves to a fixed point of loading and saving in
// both formats; a file that is refused leaves the store as it was.

#include "FuzzSupport.h"
#include "registry/MemoryStore.h"
#include "registry/RegFile.h"

using namespace tollen::registry;
using tollen::fuzz::require;

namespace {

void requireRoundTrip(MemoryStore &store, RegFormat format)
{
    const RegFileText saved = writeRegFile(store, format);
    require(!saved.error);
    MemoryStore reloaded;
    require(!reloaded.loadRegText(saved.bytes));
    const RegFileText savedAgain = writeRegFile(reloaded, format);
    require(!savedAgain.error);
    require(savedAgain.bytes == saved.bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    MemoryStore store;
    // A key the input may change or delete, so a refused file has something to leave alone.
    require(!store.loadRegText("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\Kept]\r\n"
                               "\"Name\"=\"value\"\r\n"));
    const RegFileText before = writeRegFile(store, RegFormat::Version5);
    if (store.loadRegText(tollen::fuzz::bytesOf(data, size))) {
        require(writeRegFile(store, RegFormat::Version5).bytes == before.bytes);
        return 0;
    }
    requireRoundTrip(store, RegFormat::Version5);
    requireRoundTrip(store, RegFormat::Regedit4);
    return 0;
}
