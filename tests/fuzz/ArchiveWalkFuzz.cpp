// Fuzzes the database builder's walk through an archive, every INF member through the INF
// reader: its index lines are well formed, sorted, once each, and point inside the archive.

#include "FuzzSupport.h"
#include "builder/PackageIndexer.h"
#include "database/IndexLine.h"

#include <algorithm>
#include <string_view>

using namespace tollen::builder;
using namespace tollen::database;
using tollen::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto file = tollen::fuzz::writeInput("package.zip", tollen::fuzz::bytesOf(data, size));
    const PackageIndex package = indexPackage(file, "/package.zip", PackageKind::Archive);
    std::string_view previous;
    bool first = true;
    forEachLine(package.lines, [&](std::string_view line) {
        require(std::count(line.begin(), line.end(), kFieldSeparator) == kFieldCount - 1);
        require(line.find_first_of("\r\n") == std::string_view::npos);
        const IndexFields fields = splitIndexLine(line);
        require(fields[IndexField::Type] == "Archived");
        const std::string_view path = fields[IndexField::RemotePath];
        require(path.starts_with("/package.zip/"));
        tollen::fuzz::requireParts(path.substr(std::string_view("/package.zip/").size()),
                                   [](std::string_view) {});
        require(first || previous < line);
        previous = line;
        first = false;
    });
    require(package.lines.empty() || package.lines.back() == '\n');
    return 0;
}
