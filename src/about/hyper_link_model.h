// What a link drawn on a static text control shows and does: the pointer states (at rest,
// hovering, pressed, visited), the text colour and the underline that follow them, and the
// target with its trimming. The platform side implements the hooks below (cursor, hover timer,
// mouse capture, opening the target, repainting), feeds the model its window messages and
// paints with TextColor() and IsUnderlined().
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace portmaven::about {

// 0x00BBGGRR, the layout of the system's colour values.
using Colour = std::uint32_t;

constexpr Colour Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) |
           (static_cast<Colour>(blue) << 16);
}

enum UnderlineMode : int { UnderlineAlways = 0, UnderlineOnHover = 1, UnderlineNever = 2 };

// Leaving the control is noticed by polling the cursor with this window timer while hovering.
inline constexpr std::uintptr_t kHoverTimerId = 1;
inline constexpr unsigned kHoverTimerPeriodMs = 100;

class HyperLinkModel {
public:
    HyperLinkModel() = default;
    virtual ~HyperLinkModel() = default;

    HyperLinkModel(const HyperLinkModel&) = delete;
    HyperLinkModel& operator=(const HyperLinkModel&) = delete;
    HyperLinkModel(HyperLinkModel&&) = delete;
    HyperLinkModel& operator=(HyperLinkModel&&) = delete;

    // Stores the target without surrounding white space. False, and nothing changes, when both
    // the trimmed target and the control's caption are empty; an empty target is kept when
    // there is a caption.
    bool SetTarget(std::u16string_view target);
    void SetUnderlineMode(int mode);
    void SetHoverAndVisitedColors(Colour hover, Colour visited);

    // The window messages that drive the link. OnSetCursor returns true: the link's cursor is
    // shown and the default one must not replace it.
    bool OnSetCursor();
    void OnTimer(std::uintptr_t timerId);
    void OnLButtonDown();
    // pointInside: the release point lies inside the control's window rectangle.
    void OnLButtonUp(bool pointInside);

    // Opens the target with the user's default handler; true on success. A failure is
    // reported to the user here.
    virtual bool OpenLink(std::u16string target) = 0;

    [[nodiscard]] Colour TextColor() const noexcept { return m_crText; }
    [[nodiscard]] Colour BackColor() const noexcept { return m_crBack; }
    [[nodiscard]] bool IsUnderlined() const noexcept { return m_bUnderlined; }
    [[nodiscard]] bool IsTracking() const noexcept { return m_bTracking; }
    [[nodiscard]] bool IsVisited() const noexcept { return m_bVisited; }
    [[nodiscard]] int GetUnderlineMode() const noexcept { return m_nUnderlineMode; }
    [[nodiscard]] const std::u16string& Target() const noexcept { return m_strTarget; }

    static constexpr Colour kNormalColour = Rgb(0, 0, 255);
    static constexpr Colour kDefaultHoverColour = Rgb(255, 255, 0);
    static constexpr Colour kPressedColour = Rgb(255, 0, 0);
    static constexpr Colour kDefaultVisitedColour = Rgb(255, 0, 255);
    static constexpr Colour kBackColour = Rgb(255, 255, 255);

private:
    [[nodiscard]] virtual bool HasCaption() const = 0;
    virtual void ShowLinkCursor() = 0;
    virtual void StartHoverTimer() = 0;
    virtual void StopHoverTimer() = 0;
    // The cursor lies inside the control's window rectangle (screen coordinates).
    [[nodiscard]] virtual bool CursorInsideWindow() const = 0;
    virtual void CaptureMouse() = 0;
    [[nodiscard]] virtual bool HoldsCapture() const = 0;
    virtual void ReleaseMouse() = 0;
    // Repaints the control, background included.
    virtual void Redraw() = 0;

    [[nodiscard]] Colour AtRestColour() const noexcept {
        return m_bVisited ? m_crVisited : m_crNormal;
    }
    [[nodiscard]] bool UnderlinedAtRest() const noexcept {
        return m_nUnderlineMode == UnderlineAlways;
    }
    [[nodiscard]] bool UnderlinedWhileHovering() const noexcept {
        return m_nUnderlineMode != UnderlineNever;
    }

    Colour m_crNormal = kNormalColour;
    Colour m_crHover = kDefaultHoverColour;
    Colour m_crPressed = kPressedColour;
    Colour m_crVisited = kDefaultVisitedColour;
    Colour m_crText = kNormalColour;
    Colour m_crBack = kBackColour;
    int m_nUnderlineMode = UnderlineAlways;
    bool m_bUnderlined = true;
    bool m_bTracking = false;
    bool m_bVisited = false;
    std::u16string m_strTarget;
};

} // namespace portmaven::about
