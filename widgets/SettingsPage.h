// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every page of the window does, so that the window keeps its pages in one list: it
// shows the records of the working set the window points it to, keeps its own copy of what
// it shows, hands the fields it owns back when collected, words itself in the current
// language and lays itself out for the published scale factor.

struct ProfileSet;

// Which records of the set a page shows; the window decides, the page only shows them.
struct PageView {
    // The profile slot whose record is shown and edited.
    int profile = 0;
    // The record whose lighting effect is shown (the first one's on some models).
    int effectRecord = 0;
    // The sensor of the model, which sets the DPI steps and ranges.
    int sensorCode = 0;
};

class SettingsPage {
public:
    virtual ~SettingsPage() = default;

    // Shows the set's values that the page edits, without counting that as an edit.
    virtual void loadPage(const ProfileSet &set, const PageView &view) = 0;
    // Writes exactly the fields the page owns, as shown, into the records it was loaded from.
    virtual void collectProfile(ProfileSet &set) const = 0;
    // Sets every text again in the current language.
    virtual void retranslateUi() = 0;
    // Places every control again for the published scale factor, in the page's geometry.
    virtual void relayout() = 0;
};
