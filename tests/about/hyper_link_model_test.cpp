// The link's pointer states, colours and underline against a fake control: timer, capture,
// cursor position and the open are all under the test's hand.
#include "about/hyper_link_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace portmaven::about {
namespace {

constexpr Colour kHover = Rgb(255, 0, 0);
constexpr Colour kVisited = Rgb(111, 49, 152);

class FakeLink : public HyperLinkModel {
public:
    bool hasCaption = true;
    bool cursorInside = true;
    bool holdsCapture = false;
    bool openResult = true;
    int cursorsShown = 0;
    int timersStarted = 0;
    int timersStopped = 0;
    int redraws = 0;
    std::vector<std::u16string> opened;

    bool OpenLink(std::u16string target) override {
        // The control has given up the capture before the handler (a message box) runs.
        EXPECT_FALSE(holdsCapture);
        opened.push_back(std::move(target));
        return openResult;
    }

    [[nodiscard]] bool TimerRunning() const { return timersStarted > timersStopped; }

    // The pointer enters the control and stays over it.
    void Enter() {
        cursorInside = true;
        OnSetCursor();
    }
    // The pointer is moved off the control; the next timer tick notices it.
    void Leave() {
        cursorInside = false;
        OnTimer(kHoverTimerId);
    }
    void Click(bool releaseInside = true) {
        OnLButtonDown();
        OnLButtonUp(releaseInside);
    }

private:
    [[nodiscard]] bool HasCaption() const override { return hasCaption; }
    void ShowLinkCursor() override { ++cursorsShown; }
    void StartHoverTimer() override { ++timersStarted; }
    void StopHoverTimer() override { ++timersStopped; }
    [[nodiscard]] bool CursorInsideWindow() const override { return cursorInside; }
    void CaptureMouse() override { holdsCapture = true; }
    [[nodiscard]] bool HoldsCapture() const override { return holdsCapture; }
    void ReleaseMouse() override { holdsCapture = false; }
    void Redraw() override { ++redraws; }
};

TEST(HyperLinkModel, StartsUnvisitedInTheNormalColourAndUnderlined) {
    FakeLink link;
    EXPECT_EQ(link.TextColor(), Rgb(0, 0, 255));
    EXPECT_EQ(link.BackColor(), Rgb(255, 255, 255));
    EXPECT_TRUE(link.IsUnderlined());
    EXPECT_FALSE(link.IsTracking());
    EXPECT_FALSE(link.IsVisited());
    EXPECT_EQ(link.GetUnderlineMode(), UnderlineAlways);
    EXPECT_TRUE(link.Target().empty());
}

TEST(HyperLinkModel, RepeatedEntryStartsOneTimerOnly) {
    FakeLink link;
    link.SetUnderlineMode(UnderlineOnHover);
    EXPECT_FALSE(link.IsUnderlined());
    EXPECT_TRUE(link.OnSetCursor());
    EXPECT_EQ(link.TextColor(), FakeLink::kDefaultHoverColour);
    EXPECT_TRUE(link.IsUnderlined()) << "underline must appear at the first entry";
    const int redrawsAfterEntry = link.redraws;
    EXPECT_TRUE(link.OnSetCursor());
    EXPECT_TRUE(link.OnSetCursor());
    EXPECT_EQ(link.timersStarted, 1);
    EXPECT_EQ(link.cursorsShown, 3) << "the cursor is set at every WM_SETCURSOR";
    EXPECT_EQ(link.redraws, redrawsAfterEntry);
    EXPECT_TRUE(link.IsTracking());
}

struct UnderlineCase {
    int mode;
    bool atRest;
    bool hovering;
};

class HyperLinkUnderline : public testing::TestWithParam<UnderlineCase> {};

TEST_P(HyperLinkUnderline, FollowsTheModeAcrossEntryAndLeave) {
    const UnderlineCase c = GetParam();
    FakeLink link;
    link.SetUnderlineMode(c.mode);
    EXPECT_EQ(link.IsUnderlined(), c.atRest);

    link.Enter();
    EXPECT_EQ(link.IsUnderlined(), c.hovering);
    // While the cursor stays inside, ticks change nothing.
    link.OnTimer(kHoverTimerId);
    EXPECT_TRUE(link.IsTracking());
    EXPECT_TRUE(link.TimerRunning());
    EXPECT_EQ(link.IsUnderlined(), c.hovering);

    link.Leave();
    EXPECT_FALSE(link.IsTracking());
    EXPECT_FALSE(link.TimerRunning());
    EXPECT_EQ(link.TextColor(), FakeLink::kNormalColour);
    EXPECT_EQ(link.IsUnderlined(), c.atRest);

    // A second round behaves the same and starts a fresh timer.
    link.Enter();
    EXPECT_EQ(link.IsUnderlined(), c.hovering);
    EXPECT_EQ(link.timersStarted, 2);
}

std::string ModeName(const testing::TestParamInfo<UnderlineCase>& param) {
    constexpr const char* kModeNames[] = {"Always", "OnHover", "Never"};
    return kModeNames[param.param.mode];
}

INSTANTIATE_TEST_SUITE_P(Modes, HyperLinkUnderline,
                         testing::Values(UnderlineCase{UnderlineAlways, true, true},
                                         UnderlineCase{UnderlineOnHover, false, true},
                                         UnderlineCase{UnderlineNever, false, false}),
                         ModeName);

TEST(HyperLinkModel, PressInsideReleaseOutsideOpensNothing) {
    FakeLink link;
    link.Enter();
    link.OnLButtonDown();
    EXPECT_TRUE(link.holdsCapture);
    EXPECT_EQ(link.TextColor(), FakeLink::kPressedColour);
    EXPECT_EQ(link.timersStarted, 1) << "a press neither starts nor stops tracking";
    EXPECT_TRUE(link.IsTracking());

    link.OnLButtonUp(/*pointInside=*/false);
    EXPECT_TRUE(link.opened.empty());
    EXPECT_FALSE(link.holdsCapture);
    EXPECT_EQ(link.TextColor(), FakeLink::kNormalColour);
    EXPECT_FALSE(link.IsVisited());
    // Still hovering as before the press: the hover colour returns only after leave and entry.
    EXPECT_TRUE(link.IsTracking());
    link.OnSetCursor();
    EXPECT_EQ(link.TextColor(), FakeLink::kNormalColour);
}

TEST(HyperLinkModel, DraggingOffWhilePressedRestoresAtRestAtTheNextTick) {
    FakeLink link;
    link.SetUnderlineMode(UnderlineOnHover);
    link.Enter();
    link.OnLButtonDown();
    link.Leave();
    EXPECT_TRUE(link.holdsCapture) << "the button is still down";
    EXPECT_FALSE(link.IsTracking());
    EXPECT_FALSE(link.TimerRunning());
    EXPECT_EQ(link.TextColor(), FakeLink::kNormalColour);
    EXPECT_FALSE(link.IsUnderlined());

    link.OnLButtonUp(/*pointInside=*/false);
    EXPECT_TRUE(link.opened.empty());
    EXPECT_FALSE(link.holdsCapture);
    EXPECT_EQ(link.TextColor(), FakeLink::kNormalColour);
}

TEST(HyperLinkModel, SuccessfulOpenShowsVisitedAtOnceAndHoverOnlyAfterReentry) {
    FakeLink link;
    link.SetHoverAndVisitedColors(kHover, kVisited);
    ASSERT_TRUE(link.SetTarget(u"https://portmaven.example"));
    link.Enter();
    link.Click();
    ASSERT_EQ(link.opened, std::vector<std::u16string>{u"https://portmaven.example"});
    EXPECT_TRUE(link.IsVisited());
    EXPECT_EQ(link.TextColor(), kVisited) << "visited colour while the pointer is still over it";
    link.OnSetCursor();
    EXPECT_EQ(link.TextColor(), kVisited);

    link.Leave();
    EXPECT_EQ(link.TextColor(), kVisited);
    link.Enter();
    EXPECT_EQ(link.TextColor(), kHover);
}

TEST(HyperLinkModel, FailedOpenAfterSuccessfulOneReturnsToNormalColour) {
    FakeLink link;
    link.SetHoverAndVisitedColors(kHover, kVisited);
    link.Enter();
    link.Click();
    ASSERT_TRUE(link.IsVisited());
    link.openResult = false;
    link.Click();
    EXPECT_EQ(link.opened.size(), 2u);
    EXPECT_FALSE(link.IsVisited());
    EXPECT_EQ(link.TextColor(), FakeLink::kNormalColour);
    link.Leave();
    EXPECT_EQ(link.TextColor(), FakeLink::kNormalColour);
}

TEST(HyperLinkModel, ButtonUpWithoutCaptureChangesNothing) {
    FakeLink link;
    link.Enter();
    const int redraws = link.redraws;
    link.OnLButtonUp(/*pointInside=*/true);
    EXPECT_TRUE(link.opened.empty());
    EXPECT_EQ(link.redraws, redraws);
    EXPECT_EQ(link.TextColor(), FakeLink::kDefaultHoverColour);
    EXPECT_FALSE(link.IsVisited());
}

TEST(HyperLinkModel, TimerIdsOtherThanHoverChangeNothing) {
    FakeLink link;
    link.Enter();
    link.cursorInside = false;
    for (std::uintptr_t id : {std::uintptr_t{0}, std::uintptr_t{2}, std::uintptr_t{0xFFFF}}) {
        link.OnTimer(id);
    }
    EXPECT_TRUE(link.IsTracking());
    EXPECT_TRUE(link.TimerRunning());
    EXPECT_EQ(link.TextColor(), FakeLink::kDefaultHoverColour);
    link.OnTimer(kHoverTimerId);
    EXPECT_FALSE(link.IsTracking());
}

TEST(HyperLinkModel, PressWithoutHoverStartsNoTimer) {
    FakeLink link;
    link.cursorInside = false;
    link.Click(/*releaseInside=*/true);
    EXPECT_EQ(link.timersStarted, 0);
    EXPECT_FALSE(link.IsTracking());
    EXPECT_EQ(link.opened.size(), 1u);
}

TEST(HyperLinkModel, MailTargetIsOpenedLikeAnyOther) {
    FakeLink link;
    ASSERT_TRUE(link.SetTarget(u" MAILTO:team@portmaven.example "));
    link.Click();
    ASSERT_EQ(link.opened, std::vector<std::u16string>{u"MAILTO:team@portmaven.example"});
    EXPECT_TRUE(link.IsVisited());
    link.openResult = false;
    link.Click();
    EXPECT_FALSE(link.IsVisited());
}

TEST(HyperLinkModel, SetHoverAndVisitedColorsRecoloursAtRest) {
    FakeLink link;
    link.Click();
    ASSERT_TRUE(link.IsVisited());
    EXPECT_EQ(link.TextColor(), FakeLink::kDefaultVisitedColour);
    const int redraws = link.redraws;
    link.SetHoverAndVisitedColors(kHover, kVisited);
    EXPECT_EQ(link.TextColor(), kVisited);
    EXPECT_GT(link.redraws, redraws);
}

TEST(HyperLinkModel, SetTargetTrimsAndNeedsACaptionOrATarget) {
    FakeLink link;
    EXPECT_TRUE(link.SetTarget(u" \t https://portmaven.example/a b \r\n"));
    EXPECT_EQ(link.Target(), u"https://portmaven.example/a b");
    // Pasted text often brings no-break and ideographic spaces along.
    EXPECT_TRUE(link.SetTarget(u"\u00A0https://portmaven.example/\u3000"));
    EXPECT_EQ(link.Target(), u"https://portmaven.example/");

    // Only blanks: accepted while the control has a caption, stored empty.
    EXPECT_TRUE(link.SetTarget(u"   \t"));
    EXPECT_TRUE(link.Target().empty());

    ASSERT_TRUE(link.SetTarget(u"kept"));
    link.hasCaption = false;
    EXPECT_FALSE(link.SetTarget(u"  \t\r\n "));
    EXPECT_FALSE(link.SetTarget(u""));
    EXPECT_EQ(link.Target(), u"kept");
    EXPECT_TRUE(link.SetTarget(u"x"));
    EXPECT_EQ(link.Target(), u"x");
}

} // namespace
} // namespace portmaven::about
