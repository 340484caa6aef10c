#pragma once

#include "controls/Window.h"

namespace tollen::controls {

/// A window without a screen: its inner area is the outer size less fixed borders, and setting
/// the outer size resizes at once and raises onResize, as a real window does.
class HeadlessWindow : public Window
{
public:
    static constexpr int kBorderWidth = 16;
    static constexpr int kBorderHeight = 39;

    explicit HeadlessWindow(int innerWidth = 0, int innerHeight = 0, double twipsPerPixel = 15);

    std::string caption() const override { return m_caption; }
    void setCaption(const std::string &caption) override { m_caption = caption; }
    bool isEnabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override;
    bool isVisible() const override { return m_visible; }
    void show() override { m_visible = true; }
    void close() override;

    int innerWidth() const override { return m_innerWidth; }
    int innerHeight() const override { return m_innerHeight; }
    bool setOuterWidth(double twips) override;
    bool setOuterHeight(double twips) override;
    double twipsPerPixelX() const override { return m_twipsPerPixel; }
    double twipsPerPixelY() const override { return m_twipsPerPixel; }

    /// What a user's drag of the window border does: a new inner size and a resize event.
    void resizeInner(int width, int height);
    /// Minimised, the inner area is empty and the outer size cannot be set.
    void setMinimized(bool minimized);
    /// How often the window was disabled; tests check that every disable is undone.
    int disableCount() const { return m_disableCount; }

private:
    std::string m_caption;
    int m_innerWidth;
    int m_innerHeight;
    double m_twipsPerPixel;
    bool m_enabled = true;
    bool m_visible = false;
    bool m_minimized = false;
    int m_restoredWidth = 0;
    int m_restoredHeight = 0;
    int m_disableCount = 0;
};

} // namespace tollen::controls
