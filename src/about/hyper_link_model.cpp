#include "about/hyper_link_model.h"

namespace portmaven::about {

std::u16string_view TrimWhiteSpace(std::u16string_view text) {
    constexpr std::u16string_view kWhiteSpace = u" \t\n\v\f\r";
    const auto first = text.find_first_not_of(kWhiteSpace);
    if (first == std::u16string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kWhiteSpace);
    return text.substr(first, last - first + 1);
}

bool HyperLinkModel::SetTarget(std::u16string_view target) {
    const std::u16string_view trimmed = TrimWhiteSpace(target);
    if (trimmed.empty() && !HasCaption()) {
        return false;
    }
    m_strTarget.assign(trimmed);
    return true;
}

void HyperLinkModel::SetUnderlineMode(int mode) {
    m_nUnderlineMode = mode;
    m_bUnderlined = UnderlinedAtRest();
    Redraw();
}

void HyperLinkModel::SetHoverAndVisitedColors(Colour hover, Colour visited) {
    m_crHover = hover;
    m_crVisited = visited;
    m_crText = AtRestColour();
    Redraw();
}

bool HyperLinkModel::OnSetCursor() {
    ShowLinkCursor();
    if (!m_bTracking) {
        StartHoverTimer();
        m_bTracking = true;
        m_crText = m_crHover;
        m_bUnderlined = UnderlinedWhileHovering();
        Redraw();
    }
    return true;
}

void HyperLinkModel::OnTimer(std::uintptr_t timerId) {
    if (timerId != kHoverTimerId || CursorInsideWindow()) {
        return;
    }
    m_bTracking = false;
    m_crText = AtRestColour();
    m_bUnderlined = UnderlinedAtRest();
    StopHoverTimer();
    Redraw();
}

void HyperLinkModel::OnLButtonDown() {
    // A press neither starts nor stops hover tracking.
    CaptureMouse();
    m_crText = m_crPressed;
    Redraw();
}

void HyperLinkModel::OnLButtonUp(bool pointInside) {
    if (!HoldsCapture()) {
        return;
    }
    ReleaseMouse();
    if (pointInside) {
        // A mail-scheme target is handed to the default handler like any other.
        m_bVisited = OpenLink(m_strTarget);
    }
    // Tracking and the underline stay: the hover colour comes back only after the pointer has
    // left and entered again.
    m_crText = AtRestColour();
    Redraw();
}

} // namespace portmaven::about
