#include "cli/CommandLineWindow.h"

#include "cli/ArgumentText.h"
#include "cli/FileChecks.h"
#include "core/PathText.h"
#include "inventory/ProfileCommands.h"
#include "inventory/ThisMachineDeviceTree.h"

#include <utility>

namespace tollen::cli {

namespace {

/// A password file holds one short line.
constexpr std::size_t kPasswordFileLimit = 4096;

} // namespace

CommandLineWindow::CommandLineWindow(StandardError &standardError,
                                     transfer::TransferOptions transferOptions)
    : m_standardError(standardError), m_transferOptions(std::move(transferOptions))
{
    m_controls.dialogs.onQuestion = [this](const controls::HeadlessDialogs::Question &question) {
        answer(question);
    };
    m_splashControls.dialogs.onQuestion =
        [this](const controls::HeadlessDialogs::Question &question) {
            m_standardError.message(question.title + ": " + question.text);
        };
    m_controls.eventLoop.onYield = [this] { showProgress(); };
}

CommandLineWindow::~CommandLineWindow()
{
    m_standardError.endProgress();
}

Outcome CommandLineWindow::open(const std::optional<std::string> &source, bool scanThisMachine)
{
    if (const std::string &caFile = m_transferOptions.trustedCertificates; !caFile.empty()) {
        if (const auto problem = unreadableFileProblem(pathFromUtf8(caFile))) {
            return {ExitCode::Unreadable,
                    "cannot read the certificate file " + caFile + ": " + *problem};
        }
    }
    if (source) {
        if (const auto problem = unreadableFileProblem(pathFromUtf8(*source))) {
            return {ExitCode::Unreadable, "cannot read " + *source + ": " + *problem};
        }
    }
    // The window reads the settings file at its load, as the windowed program does; it never
    // closes, so it never writes them back.
    m_program = std::make_unique<ui::ProgramStart>(
        m_controls.controls(), m_splashControls.controls(),
        ui::ProgramStartOptions{{}, !source && scanThisMachine, m_transferOptions});
    ui::frmSplash &splash = m_program->splash();
    splash.Form_Load();
    splash.Frame1_Click();
    if (!splash.mainWindowShown()) {
        return {ExitCode::Unreadable, "the main window could not be opened"};
    }
    m_inventory.reset();
    if (source) {
        // The loader's messages name the file.
        inventory::DeviceInventory devices;
        if (const Error failure =
                inventory::loadDeviceList(pathFromUtf8(*source), m_controls.ListView1, &devices)) {
            return {ExitCode::Unreadable, failure.message};
        }
        m_inventory = std::move(devices);
    }
    return {};
}

Outcome CommandLineWindow::applyNetwork(const NetworkOverrides &overrides)
{
    // What goes into the host, path and user boxes is checked as typed text: a line break in
    // it would reach the server as a command of its own.
    const std::pair<const char *, const std::optional<std::string> *> typed[] = {
        {"--http", &overrides.http},
        {"--ftp", &overrides.ftp},
        {"--base-path", &overrides.basePath},
        {"--user", &overrides.user},
        {"--password-file", &overrides.passwordFile}};
    for (const auto &[name, value] : typed) {
        const bool mayBeEmpty = value == &overrides.basePath || value == &overrides.user;
        if (*value) {
            if (const auto problem = argumentProblem(name, **value, kPathLimit, mayBeEmpty)) {
                return {ExitCode::Usage, *problem};
            }
        }
    }
    auto choose = [this](int index) {
        m_controls.Option1.select(index);
        if (m_controls.Option1.onClick) {
            m_controls.Option1.onClick(index);
        }
    };
    if (overrides.http) {
        choose(0);
        m_controls.host.setText(*overrides.http);
    }
    if (overrides.ftp) {
        choose(1);
        m_controls.host.setText(*overrides.ftp);
    }
    if (overrides.basePath) {
        m_controls.path.setText(*overrides.basePath);
    }
    if (overrides.user) {
        m_controls.user.setText(*overrides.user);
    }
    if (overrides.passwordFile) {
        std::string problem;
        const auto password =
            readFirstLine(pathFromUtf8(*overrides.passwordFile), kPasswordFileLimit, problem);
        if (!password) {
            return {ExitCode::Unreadable,
                    "cannot read the password file " + *overrides.passwordFile + ": " + problem};
        }
        if (const auto problem = argumentProblem("the password", *password, kPathLimit, true)) {
            return {ExitCode::Unreadable,
                    "cannot use the password file " + *overrides.passwordFile + ": " + *problem};
        }
        m_controls.pass.setText(*password);
    }
    return {};
}

const inventory::DeviceInventory &CommandLineWindow::inventory()
{
    if (!m_inventory) {
        // This machine's devices with their drivers are read only for a command that asks.
        m_inventory.emplace();
        if (registry::RegistryStore *thisMachine = m_program ? m_program->thisMachine() : nullptr) {
            m_inventory =
                inventory::readStoreInventory(*thisMachine, inventory::thisMachineLayout());
        }
    }
    return *m_inventory;
}

void CommandLineWindow::beginAction()
{
    m_standardError.endProgress();
    m_boxes.clear();
}

void CommandLineWindow::answer(const controls::HeadlessDialogs::Question &question)
{
    using Kind = controls::HeadlessDialogs::Kind;
    switch (question.kind) {
    case Kind::MessageBox:
        if (question.buttons != controls::MessageButtons::YesNo) {
            m_boxes.push_back(question);
            m_standardError.message(question.title + ": " + question.text);
        } else {
            m_controls.dialogs.script(m_confirm ? controls::kAnswerYes : controls::kAnswerNo);
        }
        return;
    case Kind::InputBox:
        m_controls.dialogs.script(m_inputAnswer);
        return;
    case Kind::SaveFile:
        m_controls.dialogs.script(controls::HeadlessDialogs::FileAnswer{
            m_saveAnswer ? m_saveAnswer(question.fileRequest) : std::nullopt});
        return;
    case Kind::OpenFile:
        // Nothing the command line runs opens a file through a dialog; a cancel ends it.
        return;
    }
}

void CommandLineWindow::showProgress()
{
    const std::string percent = m_controls.Label9.caption();
    if (!m_controls.window.isEnabled() && !percent.empty()) {
        m_standardError.progress(m_controls.Label5.caption() + " " + percent);
    }
}

} // namespace tollen::cli
