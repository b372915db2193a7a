// The About box's own texts. The dialog script shows them and the code uses them, so each is
// written once here: the macros are for the resource compiler, which reads only the
// preprocessor part of this file; the constants below are the same strings for the code.
#pragma once

// The version line comes from the build's one project version.
#include "portmaven_version.h"

#define PORTMAVEN_ABOUT_COPYRIGHT_TEXT "Copyright (C) 2026"
// A name under the reserved ".example" domain: it can never lead to somebody else's site.
#define PORTMAVEN_HOMEPAGE_URL "https://portmaven.example"
#define PORTMAVEN_ABOUT_CREDITS_LABEL "Written by:"
#define PORTMAVEN_ABOUT_CREDITS_NAMES "The Portmaven developers"
#define PORTMAVEN_HOMEPAGE_TIP "Portmaven Homepage"
#define PORTMAVEN_ABOUT_TITLE "About Portmaven"

#ifndef RC_INVOKED
namespace portmaven::about {
inline constexpr char16_t kVersionText[] = u"" PORTMAVEN_ABOUT_VERSION_TEXT;
inline constexpr char16_t kCopyrightText[] = u"" PORTMAVEN_ABOUT_COPYRIGHT_TEXT;
inline constexpr char16_t kHomepageUrl[] = u"" PORTMAVEN_HOMEPAGE_URL;
inline constexpr char16_t kCreditsLabel[] = u"" PORTMAVEN_ABOUT_CREDITS_LABEL;
inline constexpr char16_t kCreditsNames[] = u"" PORTMAVEN_ABOUT_CREDITS_NAMES;
inline constexpr char16_t kHomepageTip[] = u"" PORTMAVEN_HOMEPAGE_TIP;
inline constexpr char16_t kAboutTitle[] = u"" PORTMAVEN_ABOUT_TITLE;
// The homepage link could not be opened.
inline constexpr char16_t kOpenUrlFailedText[] = u"Failed to open URL";
} // namespace portmaven::about
#endif
