#pragma once
// The main window as tollen-cli runs it: the program's own Form1 and splash on headless
// controls. A command works the window as a user would (it clicks its buttons and lists and
// reads what they then hold), so the command line and the window run the same routines.
//
// The window's boxes go to standard error, each prefixed by its title. The questions a command
// expects are answered for it: the input box of "Other device" with the command's query, the
// save dialog with the command's file, and a yes/no question with the command's own answer
// (search and match: Yes to the question before a large index only when the user gave --yes;
// download runs the window's transfer routines directly). The window never closes, so the settings
// file is read at the load and never written. What happened comes back from the window's routines
// as values.

#include "cli/CommandLine.h"
#include "cli/ExitCode.h"
#include "cli/StandardError.h"
#include "inventory/DeviceInventory.h"
#include "transfer/TransferOptions.h"
#include "ui/Form1.h"
#include "ui/HeadlessForm1.h"
#include "ui/HeadlessSplash.h"
#include "ui/ProgramStart.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tollen::cli {

class CommandLineWindow
{
public:
    /// `transferOptions` are those of the window's transfers (the certificates they trust).
    CommandLineWindow(StandardError &standardError, transfer::TransferOptions transferOptions = {});
    ~CommandLineWindow();
    CommandLineWindow(const CommandLineWindow &) = delete;
    CommandLineWindow &operator=(const CommandLineWindow &) = delete;

    /// Starts as the program does, then replaces the device list with that of `source` (a
    /// profile, registry export or hive), as "Load profile" reads it. This machine is scanned
    /// when no source is given, unless the command needs no devices. Fails when the
    /// certificate file of the transfer options cannot be read.
    Outcome open(const std::optional<std::string> &source, bool scanThisMachine = true);

    /// The devices of the list `open` filled, with their IDs and installed drivers, and the
    /// system they belong to; empty when it scanned nothing.
    const inventory::DeviceInventory &inventory();

    /// Puts the network settings given on the command line in place of those of the settings
    /// file, as a user would type them into the window.
    Outcome applyNetwork(const NetworkOverrides &overrides);

    /// The answer the running command gives to the window's yes/no questions.
    void setConfirm(bool confirm) { m_confirm = confirm; }
    /// The text the input box of "Other device" is given.
    void setInputAnswer(std::string text) { m_inputAnswer = std::move(text); }
    /// The file the save dialog chooses, from its request (its initial name); nullopt cancels.
    using SaveAnswer =
        std::function<std::optional<std::string>(const controls::FileDialogRequest &)>;
    void setSaveAnswer(SaveAnswer answer) { m_saveAnswer = std::move(answer); }

    ui::Form1 &form() { return m_program->form1(); }
    StandardError &standardError() { return m_standardError; }
    const transfer::TransferOptions &transferOptions() const { return m_transferOptions; }
    ui::HeadlessForm1 &controls() { return m_controls; }

    /// Forgets what the last action showed, before the next one.
    void beginAction();
    /// The boxes (not questions) shown since beginAction().
    const std::vector<controls::HeadlessDialogs::Question> &boxes() const { return m_boxes; }

private:
    void answer(const controls::HeadlessDialogs::Question &question);
    void showProgress();

    StandardError &m_standardError;
    transfer::TransferOptions m_transferOptions;
    ui::HeadlessForm1 m_controls;
    ui::HeadlessSplash m_splashControls;
    std::unique_ptr<ui::ProgramStart> m_program;
    /// The devices of the source `open` read; this machine's are read when first asked for.
    std::optional<inventory::DeviceInventory> m_inventory;
    bool m_confirm = false;
    std::string m_inputAnswer;
    SaveAnswer m_saveAnswer;
    /// The boxes shown since beginAction().
    std::vector<controls::HeadlessDialogs::Question> m_boxes;
};

} // namespace tollen::cli
