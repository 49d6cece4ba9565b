// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The signals that ask a program to end: SIGTERM (a desktop session ending, systemd, kill),
// SIGINT (Ctrl+C in a terminal) and SIGHUP (its terminal gone). Taken, they end the
// application's event loops as a quit from its own menu does, so that what the program does
// at its end is done: the state written, the battery history's last readings kept, the
// desktop's pointer speed settled. The end of a logout (the session manager's Quit event)
// ends them the same way.

// Call once, after the application object exists. A second signal while the program ends
// changes nothing.
void quitOnEndSignals();
