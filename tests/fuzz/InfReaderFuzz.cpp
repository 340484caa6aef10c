// Fuzzes the reading of an INF file as the database builder does it, into index lines and ID
// folders. The room the reader is given is smaller than the builder's, so small inputs reach it.

#include "FuzzSupport.h"
#include "builder/InfFile.h"
#include "builder/InfModels.h"
#include "builder/InfText.h"
#include "database/IdPlacement.h"
#include "database/IndexLine.h"

#include <string_view>

namespace {

using namespace tollen::builder;
using namespace tollen::database;
using tollen::fuzz::require;

constexpr std::size_t kRoom = 1024 * 1024;

bool isCleanField(std::string_view field)
{
    return field.find_first_of("\"\r\n") == std::string_view::npos;
}

bool receive(const std::string &hardwareId, const IndexFields &fields)
{
    const std::string line = joinIndexLine(fields);
    std::size_t built = 0;
    for (const IndexField field :
         {IndexField::Manufacturer, IndexField::DeviceName, IndexField::HardwareId,
          IndexField::Class, IndexField::Version, IndexField::Date}) {
        built += fields[field].size();
    }
    require(built <= kRoom);
    const IndexFields back = splitIndexLine(line);
    for (std::size_t index = 0; index < kFieldCount; ++index) {
        require(isCleanField(back[static_cast<IndexField>(index)]));
    }
    require(joinIndexLine(back) == line);
    const IdPlacement placement = placeHardwareId(hardwareId);
    require(placement.result == checkHardwareId(hardwareId));
    require(placement.folders.size() <= 4);
    for (const std::string &folder : placement.folders) {
        tollen::fuzz::requireParts(folder, [](std::string_view part) {
            require(part.find_first_of("\\<>:\"|?*") == std::string_view::npos);
            for (const char character : part) {
                require(static_cast<unsigned char>(character) >= 0x20 && character != 0x7F);
            }
        });
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const InfFile inf(decodeInfText(tollen::fuzz::bytesOf(data, size)));
    IndexFields fileFields;
    fileFields[IndexField::Type] = "Folder";
    fileFields[IndexField::RemotePath] = "/fuzz.inf";
    readInfLines(inf, fileFields, kRoom, receive);
    return 0;
}
