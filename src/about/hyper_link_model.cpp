#include "about/hyper_link_model.h"

#include "common/text.h"

namespace portmaven::about {

bool HyperLinkModel::SetTarget(std::u16string_view target) {
    const std::u16string_view trimmed = common::TrimWhiteSpace(target);
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
