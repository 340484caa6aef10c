#include "ReliabilityFixture.h"

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

} // namespace tollen::testing
