#include "ui/Form1.h"

#include "ui/Form1Design.h"
#include "ui/Form1Layout.h"

#include <utility>

namespace tollen::ui {

Form1::Form1(Form1Controls controls, Form1Startup startup)
    : m_controls(controls), m_startup(std::move(startup))
{
    applyForm1Design(m_controls);
    connectEvents();
}

Form1::~Form1()
{
    m_controls.window.onResize = nullptr;
    m_controls.window.onClose = nullptr;
}

void Form1::connectEvents()
{
    m_controls.window.onResize = [this] { Form_Resize(); };
    m_controls.window.onClose = [this] {
        if (!m_loaded) {
            m_closedWhileLoading = true;
        }
        Form_Unload();
    };
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

void Form1::Form_Load() {}

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
}

} // namespace tollen::ui
