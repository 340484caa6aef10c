// The main window's database query and the events that start it: "Scan", "Other device", and a
// double-click or Enter in the criteria list List1 or the refinement list List2.

#include "ui/Form1.h"

namespace tollen::ui {
namespace {

constexpr int kEnter = 13;

} // namespace

void Form1::connectQueryEvents()
{
    m_connections.push_back(m_controls.Command1.onClick.connect([this] { Command1_Click(); }));
    m_connections.push_back(m_controls.Command2.onClick.connect([this] { Command2_Click(); }));
    m_connections.push_back(m_controls.List1.onDoubleClick.connect([this] { List1_DblClick(); }));
    m_connections.push_back(
        m_controls.List1.onKeyPress.connect([this](int KeyAscii) { List1_KeyPress(KeyAscii); }));
    m_connections.push_back(m_controls.List2.onDoubleClick.connect([this] { List2_DblClick(); }));
    m_connections.push_back(
        m_controls.List2.onKeyPress.connect([this](int KeyAscii) { List2_KeyPress(KeyAscii); }));
}

database::QueryOutcome Form1::QueryDatabase(std::string strQuery, std::int16_t iFlag)
{
    return m_query.QueryDatabase(strQuery, iFlag, LastQuery);
}

database::QueryOutcome Form1::Command1_Click()
{
    return QueryDatabase(m_controls.List1.selectedText(), 0);
}

void Form1::List1_DblClick()
{
    Command1_Click();
}

void Form1::List1_KeyPress(int KeyAscii)
{
    if (KeyAscii == kEnter) {
        Command1_Click();
    }
}

std::optional<database::QueryOutcome> Form1::Command2_Click()
{
    const std::string typed = m_controls.dialogs.inputBox("Enter query string", "Driver Query", "");
    if (typed.empty()) {
        return std::nullopt;
    }
    return QueryDatabase(typed, 0);
}

std::optional<database::QueryOutcome> Form1::List2_DblClick()
{
    // Nothing to refine with while the list is empty.
    if (m_controls.List2.selectedCount() == 0) {
        return std::nullopt;
    }
    const std::string entry = m_controls.List2.selectedText();
    const std::int16_t flag = entry.starts_with("SUBSYS") ? database::kSubsystemRefinement : 0;
    return QueryDatabase(LastQuery + "&" + entry, flag);
}

void Form1::List2_KeyPress(int KeyAscii)
{
    if (KeyAscii != kEnter) {
        return;
    }
    if (m_controls.List2.selectedCount() == 0) {
        m_controls.List2.select(0);
    }
    List2_DblClick();
}

} // namespace tollen::ui
