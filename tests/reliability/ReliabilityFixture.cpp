#include "ReliabilityFixture.h"

#include <algorithm>

namespace tollen::testing {

HeadlessTransfers::HeadlessTransfers()
    : controls(form.controls()), q(shortLimits()), inet(shortLimits()), routines(q, inet, controls)
{
    form.Option1.addOption("HTTP");
    form.Option1.addOption("FTP");
}

void HeadlessTransfers::choose(bool ftp, const std::string &host)
{
    form.Option1.select(ftp ? 1 : 0);
    form.host.setText(host);
    form.path.setText("/");
    form.user.setText("user");
    form.pass.setText("secret");
    q.SetModePassive();
}

std::vector<std::string> fileNames(const std::filesystem::path &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace tollen::testing
