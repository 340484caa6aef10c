// Fuzzes the settings reader: what it gives is valid UTF-8 and survives writing and reading.

#include "FuzzSupport.h"
#include "core/Text.h"
#include "ui/SettingsFile.h"

#include <algorithm>

using namespace tollen;
using tollen::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    transfer::NetworkSettings initial;
    initial.ftpChosen = true;
    initial.httpHost = "http://127.0.0.1:8080";
    initial.ftpHost = "127.0.0.1";
    initial.path = "/drivers";
    initial.user = "anonymous";
    initial.pass = "guest";
    const transfer::NetworkSettings read =
        ui::parseSettingsFile(fuzz::bytesOf(data, size), initial);
    for (const std::string *value :
         {&read.httpHost, &read.ftpHost, &read.path, &read.user, &read.pass}) {
        require(isValidUtf8(*value));
    }
    const std::string written = ui::formatSettingsFile(read);
    require(std::count(written.begin(), written.end(), '\n') == 6);
    require(ui::parseSettingsFile(written, transfer::NetworkSettings{}) == read);
    return 0;
}
