#include "ui/Form1.h"

#include "inventory/BuildCriteria.h"
#include "inventory/DeviceRecords.h"
#include "inventory/DeviceScan.h"
#include "inventory/ProfileCommands.h"
#include "ui/Form1Design.h"
#include "ui/Form1Layout.h"

#include <utility>

namespace tollen::ui {

Form1::Form1(Form1Controls controls, Form1Startup startup)
    : m_controls(controls), m_startup(std::move(startup)), m_q(m_startup.transferOptions),
      m_inet(m_startup.transferOptions),
      m_query(m_transfers, {m_controls.window, m_controls.dialogs, m_controls.eventLoop,
                            m_controls.List2, m_controls.ListView2, m_controls.Label5,
                            [](controls::ListView &list) { LV_AutoSizeColumn(list); }})
{
    applyForm1Design(m_controls);
    connectEvents();
}

void Form1::connectEvents()
{
    m_connections.push_back(m_controls.window.onResize.connect([this] { Form_Resize(); }));
    m_connections.push_back(m_controls.window.onClose.connect([this] {
        if (!m_loaded) {
            m_closedWhileLoading = true;
        }
        Form_Unload();
    }));
    m_connections.push_back(m_controls.ListView1.onClick.connect([this] { ListView1_Click(); }));
    m_connections.push_back(
        m_controls.ListView1.onItemClick.connect([this](int row) { ListView1_ItemClick(row); }));
    m_connections.push_back(m_controls.ListView1.onKeyPress.connect(
        [this](int KeyAscii) { ListView1_KeyPress(KeyAscii); }));
    m_connections.push_back(m_controls.Command3.onClick.connect([this] { Command3_Click(); }));
    m_connections.push_back(m_controls.Command4.onClick.connect([this] { Command4_Click(); }));
    connectQueryEvents();
    connectDownloadFlow();
    m_connections.push_back(
        m_controls.Option1.onClick.connect([this](int Index) { Option1_Click(Index); }));
    m_connections.push_back(m_controls.host.onChange.connect([this] { host_Change(); }));
}

bool Form1::Show()
{
    if (!m_loaded) {
        Form_Load();
        m_loaded = true;
        if (m_closedWhileLoading) {
            return false;
        }
    }
    m_controls.window.show();
    Form_Resize();
    return true;
}

void Form1::Form_Load()
{
    LoadSettings();
    inventory::SetUpListView2(m_controls.ListView2);
    inventory::SetUpListView1(m_controls.ListView1);
    if (m_startup.deviceStore) {
        inventory::DeviceScan(*m_startup.deviceStore, {EnumRoot, IsNT}, m_controls.ListView1)
            .ScanAll();
    }
    m_controls.ListView1.selectRow(1);
    BuildCriteria();
    if (!inventory::LoadCommandTailProfile(m_startup.commandTail, m_controls.ListView1,
                                           m_controls.dialogs)) {
        m_controls.window.close();
    }
}

void Form1::BuildCriteria()
{
    inventory::BuildCriteria(m_controls.ListView1, m_controls.List1);
}

void Form1::ListView1_Click()
{
    BuildCriteria();
}

void Form1::ListView1_ItemClick(int /*row*/)
{
    BuildCriteria();
}

void Form1::ListView1_KeyPress(int KeyAscii)
{
    BuildCriteria();
    List1_KeyPress(KeyAscii);
}

void Form1::Command3_Click()
{
    inventory::SaveProfile(m_controls.ListView1, m_controls.dialogs);
}

void Form1::Command4_Click()
{
    inventory::LoadProfile(m_controls.ListView1, m_controls.dialogs);
}

std::int32_t Form1::GetFileSize(const std::string &strurl)
{
    return m_transfers.GetFileSize(strurl);
}

std::int16_t Form1::DownloadFile(std::string &strurl, std::string &strdestination)
{
    return m_transfers.DownloadFile(strurl, strdestination);
}

std::int16_t Form1::DownloadFile(std::string &strurl, std::string &strdestination,
                                 std::int64_t sizeLimit)
{
    return m_transfers.DownloadFile(strurl, strdestination, sizeLimit);
}

void Form1::connectDownloadFlow()
{
    m_connections.push_back(m_controls.ListView2.onClick.connect([this] { ListView2_Click(); }));
    m_connections.push_back(
        m_controls.ListView2.onDoubleClick.connect([this] { ListView2_DblClick(); }));
    m_connections.push_back(m_controls.ListView2.onKeyPress.connect(
        [this](int KeyAscii) { ListView2_KeyPress(KeyAscii); }));
}

void Form1::ListView2_Click()
{
    m_downloadFlow.ListView2_Click();
}

DownloadOutcome Form1::ListView2_DblClick()
{
    return m_downloadFlow.ListView2_DblClick();
}

void Form1::ListView2_KeyPress(int KeyAscii)
{
    m_downloadFlow.ListView2_KeyPress(KeyAscii);
}

void Form1::Form_Resize()
{
    tollen::ui::Form_Resize(m_controls);
}

void Form1::Form_Unload()
{
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    SaveSettings();
}

} // namespace tollen::ui
