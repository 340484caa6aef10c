// Fuzzes the reading of a database's description as `tollen-cli info` takes it from a server: a
// description read is written back and read again to the same values.

#include "FuzzSupport.h"
#include "database/DatabaseDescription.h"

using namespace tollen::database;
using tollen::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const DescriptionReading reading = readDatabaseDescription(tollen::fuzz::bytesOf(data, size));
    require(reading.description.has_value() == reading.problem.empty());
    if (reading.description) {
        const DescriptionReading again =
            readDatabaseDescription(writeDatabaseDescription(*reading.description));
        require(again.description == reading.description);
    }
    return 0;
}
