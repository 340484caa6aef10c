#pragma once

#include "controls/Window.h"
#include "ui/qt/PixelScale.h"

#include <QWidget>
#include <memory>

namespace tollen::ui::qt {

/// The top-level widget of a window: it passes its resize, close and key-press events on.
class WindowWidget : public QWidget
{
public:
    using QWidget::QWidget;

    std::function<void()> onResized;
    std::function<void()> onClosed;
    std::function<void(int)> onKey;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

/// A window: its inner area holds the frames, placed in pixels; its twips per pixel come from
/// the screen's logical dots per inch.
class QtWindow : public controls::Window
{
public:
    explicit QtWindow(Qt::WindowFlags flags = {});

    QWidget *widget() const { return m_widget.get(); }
    controls::PixelScale twipsPerPixel() const { return m_twipsPerPixel; }
    /// Sets the inner area in pixels (the designed size before the window is shown).
    void setInnerSize(int width, int height);

    std::string caption() const override;
    void setCaption(const std::string &caption) override;
    bool isEnabled() const override;
    void setEnabled(bool enabled) override;
    bool isVisible() const override;
    void show() override;
    void close() override;

    /// A minimised window has an empty inner area.
    int innerWidth() const override;
    int innerHeight() const override;
    bool setOuterWidth(double twips) override;
    bool setOuterHeight(double twips) override;
    double twipsPerPixelX() const override { return m_twipsPerPixel.x; }
    double twipsPerPixelY() const override { return m_twipsPerPixel.y; }

private:
    std::unique_ptr<WindowWidget> m_widget;
    controls::PixelScale m_twipsPerPixel;
};

} // namespace tollen::ui::qt
