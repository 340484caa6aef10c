#pragma once
// The controls contract: what the program's windows need of their controls and dialogs.
//
// Every routine of the main window and the splash runs in the core against these classes. Each
// control holds its own plain state (captions, geometry, rows, selection) and announces changes
// through protected hooks; the headless face (ui/headless) uses the state as it is, the Qt face
// (ui/qt) and the Win32 face (ui/win32) override the hooks to render the state in widgets or
// windows and raise the events below from their signals or notifications. Dialogs, the
// clipboard, the launcher and the event loop are pure interfaces.
//
// Units: controls inside frames are placed in twips, frames and the window's inner area in
// pixels; the window reports its twips per pixel (15 at 96 dots per inch). Rows and sub-items of
// a report-view list are numbered from 1, list box entries from 0, as the program addresses them.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tollen::controls {

struct Geometry
{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

/// Base of every visible control: geometry in its parent's units, visibility, enabled state.
class Control
{
public:
    virtual ~Control() = default;
    Control() = default;
    Control(const Control &) = delete;
    Control &operator=(const Control &) = delete;

    const Geometry &geometry() const { return m_geometry; }
    /// Moving a control always succeeds; a negative width or height is refused (false) and
    /// leaves the geometry as it was, as the program's controls refuse invalid sizes.
    bool setLeft(double left);
    bool setTop(double top);
    bool setWidth(double width);
    bool setHeight(double height);
    void setGeometry(const Geometry &geometry);

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);

protected:
    virtual void geometryChanged() {}
    virtual void visibilityChanged() {}

private:
    Geometry m_geometry;
    bool m_visible = true;
};

/// A control that shows a caption: labels, frames, buttons, option buttons, check boxes.
class CaptionedControl : public Control
{
public:
    const std::string &caption() const { return m_caption; }
    void setCaption(const std::string &caption);

protected:
    virtual void captionChanged() {}

private:
    std::string m_caption;
};

class Label : public CaptionedControl
{
};

class Frame : public CaptionedControl
{
public:
    std::function<void()> onClick;
};

class Button : public CaptionedControl
{
public:
    std::function<void()> onClick;
};

class CheckBox : public CaptionedControl
{
public:
    bool isChecked() const { return m_checked; }
    void setChecked(bool checked);

protected:
    virtual void checkedChanged() {}

private:
    bool m_checked = false;
};

class TextBox : public Control
{
public:
    const std::string &text() const { return m_text; }
    /// Sets the text and raises onChange, as a typed change does.
    void setText(const std::string &text);
    /// Shows every character as "*".
    bool isMasked() const { return m_masked; }
    void setMasked(bool masked);

    std::function<void()> onChange;

protected:
    virtual void textChanged() {}
    virtual void maskedChanged() {}
    /// For faces: store a text the user typed without rendering it back, then raise onChange.
    void acceptTypedText(const std::string &text);

private:
    std::string m_text;
    bool m_masked = false;
};

/// A group of option buttons of which exactly one is selected, addressed by index from 0.
class OptionGroup
{
public:
    virtual ~OptionGroup() = default;
    OptionGroup() = default;
    OptionGroup(const OptionGroup &) = delete;
    OptionGroup &operator=(const OptionGroup &) = delete;

    /// Adds an option button; returns its index.
    int addOption(const std::string &caption);
    int count() const { return static_cast<int>(m_buttons.size()); }
    CaptionedControl &button(int index) { return *m_buttons.at(index); }
    int selectedIndex() const { return m_selected; }
    /// Selects without raising onClick, as the program's own assignments do.
    void select(int index);

    /// Raised with the index when the user clicks an option.
    std::function<void(int)> onClick;

protected:
    virtual void selectionChanged() {}
    virtual std::unique_ptr<CaptionedControl> makeButton() { return std::make_unique<Label>(); }

private:
    std::vector<std::unique_ptr<CaptionedControl>> m_buttons;
    int m_selected = 0;
};

class ProgressBar : public Control
{
public:
    double maximum() const { return m_maximum; }
    double value() const { return m_value; }
    /// A maximum of 0 or less cannot be shown as a fraction; the bar then shows that it is busy.
    void setMaximum(double maximum);
    void setValue(double value);

protected:
    virtual void progressChanged() {}

private:
    double m_maximum = 100;
    double m_value = 0;
};

/// The list box: single selection, entries numbered from 0.
class ListBox : public Control
{
public:
    static constexpr int kNotFound = -1;

    void clear();
    /// Adds at `index` (0 is the top), or at the end when no index is given.
    void addItem(const std::string &text, std::optional<int> index = std::nullopt);
    int count() const { return static_cast<int>(m_items.size()); }
    const std::string &item(int index) const { return m_items.at(index); }
    const std::vector<std::string> &items() const { return m_items; }

    /// Selects the entry; an index that does not exist is an error (false) the callers ignore.
    bool select(int index);
    int selectedIndex() const { return m_selected; }
    /// The text of the selected entry, empty when none is selected.
    std::string selectedText() const;
    int selectedCount() const { return m_selected >= 0 ? 1 : 0; }

    /// The exact-string search: the first entry after `start` equal to `text` ignoring letter
    /// case, wrapping round to the top; start -1 searches the whole list from the top. A face
    /// whose list box has this search of its own asks it.
    virtual int findStringExact(const std::string &text, int start = -1) const;

    std::function<void()> onDoubleClick;
    std::function<void(int)> onKeyPress;

protected:
    virtual void itemsChanged() {}
    virtual void selectionChanged() {}
    /// For faces: the user moved the selection.
    void acceptUserSelection(int index);

private:
    std::vector<std::string> m_items;
    int m_selected = -1;
};

/// The report-view list: columns with headings and widths (twips), rows numbered from 1 with
/// sub-items 1 to n in the later columns. Rows live here, so the Qt face shows them through a
/// model and stays fast with tens of thousands of rows.
class ListView : public Control
{
public:
    static constexpr std::uint32_t kFullRowSelect = 0x20;
    /// Column widths that ask for automatic sizing, as the list view's column-width message takes.
    static constexpr int kAutoSizeToContents = -1;
    static constexpr int kAutoSizeToContentsAndHeader = -2;

    struct Column
    {
        std::string heading;
        double width = 0;
    };

    void setReportView(bool report);
    bool isReportView() const { return m_reportView; }

    /// Adds a column heading; returns its index from 1.
    int addColumn(const std::string &heading, double width = 1440);
    int columnCount() const { return static_cast<int>(m_columns.size()); }
    const Column &column(int index) const { return m_columns.at(index - 1); }
    void setColumnWidth(int index, double width);
    /// The column-width message: `position` from 0, a width in twips or one of the automatic
    /// sizes above. False for a column that does not exist.
    bool sendSetColumnWidth(int position, int width);

    bool areHeadingsHidden() const { return m_headingsHidden; }
    void setHeadingsHidden(bool hidden);

    std::uint32_t extendedStyle() const { return m_extendedStyle; }
    void setExtendedStyle(std::uint32_t style);

    /// Appends a row with its first-column text; returns the row's position (from 1).
    int addRow(std::string text);
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    const std::string &text(int row) const { return m_rows.at(row - 1).at(0); }
    /// Sub-item `subItem` (1 for the second column) of a row; empty when never set.
    std::string subItem(int row, int subItem) const;
    void setSubItem(int row, int subItem, std::string text);
    void clear();

    /// The selected row from 1, 0 when none is selected.
    int selectedRow() const { return m_selected; }
    /// Marks a row selected; false for a row that does not exist.
    bool selectRow(int row);

    /// Asks the face to redraw after a batch of changes.
    void refresh() { rowsChanged(); }

    std::function<void()> onClick;
    std::function<void(int)> onItemClick;
    std::function<void()> onDoubleClick;
    std::function<void(int)> onKeyPress;

protected:
    virtual void columnsChanged() {}
    virtual void rowsChanged() {}
    virtual void rowAppended() {}
    virtual void rowChanged(int /*row*/) {}
    virtual void selectionChanged() {}
    virtual void styleChanged() {}
    /// The width of a column sized to its contents, in twips; the face measures its own text.
    virtual double measureColumn(int index, bool includeHeading) const;
    /// For faces: the user selected a row.
    void acceptUserSelection(int row);

private:
    std::vector<Column> m_columns;
    std::vector<std::vector<std::string>> m_rows;
    int m_selected = 0;
    bool m_reportView = false;
    bool m_headingsHidden = false;
    std::uint32_t m_extendedStyle = 0;
};

class Timer
{
public:
    virtual ~Timer() = default;
    Timer() = default;
    Timer(const Timer &) = delete;
    Timer &operator=(const Timer &) = delete;

    int interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    std::function<void()> onTick;

protected:
    virtual void timerChanged() {}

private:
    int m_interval = 0;
    bool m_enabled = false;
};

/// A top-level window: caption, enabled state, its inner area in pixels and its outer size.
class Window
{
public:
    virtual ~Window() = default;
    Window() = default;
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;

    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string &caption) = 0;
    virtual bool isEnabled() const = 0;
    /// False disables all input to the window.
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isVisible() const = 0;
    virtual void show() = 0;
    virtual void close() = 0;

    /// Inner (client) area in pixels.
    virtual int innerWidth() const = 0;
    virtual int innerHeight() const = 0;
    /// Outer size including the borders, set in twips; false when the size is refused.
    virtual bool setOuterWidth(double twips) = 0;
    virtual bool setOuterHeight(double twips) = 0;
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;

    std::function<void()> onResize;
    std::function<void(int)> onKeyPress;
    /// Raised when the window is closed by the user or by close().
    std::function<void()> onClose;
};

enum class MessageButtons : int {
    Ok = 0,
    YesNo = 4,
    OkStop = 16,
};

/// Answers of a message box.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

/// The error number a cancelled file dialog reports.
inline constexpr int kCancelError = 32755;

/// Bits of the file dialogs' flags.
inline constexpr std::uint32_t kOverwritePrompt = 0x2;
inline constexpr std::uint32_t kHideReadOnly = 0x4;
inline constexpr std::uint32_t kNoChangeDirectory = 0x8;
inline constexpr std::uint32_t kPathMustExist = 0x800;

struct FileDialogRequest
{
    std::string title;
    /// Pairs of description and pattern joined by "|".
    std::string filter;
    std::uint32_t flags = 0;
    std::string initialName;
    std::string defaultExtension;
    bool cancelError = true;
};

struct FileDialogResult
{
    /// 0 when a file was chosen, kCancelError when the dialog was cancelled.
    int error = 0;
    std::string path;

    explicit operator bool() const { return error == 0; }
};

/// The application title every box without a title of its own shows.
inline constexpr const char *kApplicationTitle = "Tollen";

/// Modal dialogs: each returns only when dismissed.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    /// Returns kAnswerOk, or kAnswerYes / kAnswerNo for MessageButtons::YesNo. No title shows
    /// the application title.
    virtual int messageBox(const std::string &text, MessageButtons buttons,
                           const std::optional<std::string> &title = std::nullopt) = 0;
    /// The typed text, or "" when cancelled (the two are not told apart).
    virtual std::string inputBox(const std::string &prompt, const std::string &title,
                                 const std::string &defaultText) = 0;
    virtual FileDialogResult showOpen(const FileDialogRequest &request) = 0;
    virtual FileDialogResult showSave(const FileDialogRequest &request) = 0;
};

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void setText(const std::string &text) = 0;
    virtual std::string text() const = 0;
};

/// Opens a URL or a file with the desktop's handler. The target is handed over as one argument,
/// never through a shell.
class Launcher
{
public:
    virtual ~Launcher() = default;
    virtual bool open(const std::string &target) = 0;
};

/// Lets the window repaint and take input in the middle of a long operation.
class EventLoop
{
public:
    virtual ~EventLoop() = default;
    virtual void yield() = 0;
};

/// The filter entries of a file dialog: "A|*.a|B|*.b" gives {"A","*.a"}, {"B","*.b"}.
std::vector<std::pair<std::string, std::string>> parseFilter(const std::string &filter);

} // namespace tollen::controls
