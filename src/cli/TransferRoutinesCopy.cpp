#include "cli/TransferRoutinesCopy.h"

#include "ui/Form1Design.h"

#include <utility>

namespace tollen::cli {

NetworkSettings NetworkSettings::of(const ui::HeadlessForm1 &controls,
                                    transfer::TransferOptions transferOptions)
{
    return {controls.Option1.selectedIndex(),
            controls.host.text(),
            controls.path.text(),
            controls.user.text(),
            controls.pass.text(),
            std::move(transferOptions)};
}

TransferRoutinesCopy::TransferRoutinesCopy(const NetworkSettings &settings)
    : m_q(settings.transferOptions), m_inet(settings.transferOptions),
      m_routines(m_q, m_inet, m_bound)
{
    ui::applyForm1Design(m_bound);
    m_controls.Option1.select(settings.protocol);
    m_controls.host.setText(settings.host);
    m_controls.path.setText(settings.path);
    m_controls.user.setText(settings.user);
    m_controls.pass.setText(settings.password);
}

} // namespace tollen::cli
