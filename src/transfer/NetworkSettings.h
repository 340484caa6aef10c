#pragma once
// The six network settings: the protocol choice, the host of each protocol, and the FTP base
// path, user name and password. The settings file keeps them between runs; the download links
// are made from them.

#include <string>

namespace tollen::transfer {

struct NetworkSettings
{
    bool ftpChosen = false;
    std::string httpHost;
    std::string ftpHost;
    std::string path;
    std::string user;
    std::string pass;

    bool operator==(const NetworkSettings &) const = default;
};

} // namespace tollen::transfer
