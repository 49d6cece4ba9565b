// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a request reaches the mouse: handed to the running window over its local socket, or,
// with no window running, carried out in this process under the product's instance lock.
// A command line that finds the lock held by another command line waits for it, so that
// two never talk to the mouse at once.

#include "MouseRequests.h"

#include <functional>

// How long a command waits for another program to let go of the mouse, and how long the
// window may take to answer (a whole download with retries takes seconds).
constexpr int kWaitForMouseMs = 30000;
constexpr int kWindowAnswerMs = 60000;

MouseOutcome carryOut(const MouseRequest &request, const QString &productName);

// status --follow: hands `show` the status now and at every change until `stopped` says so.
// While the window runs, the window pushes its status over the socket. Without it, the mouse
// is looked at every MouseSession::kPollIntervalMs and asked for its battery as often as the
// window asks, each look taking the product's lock and letting it go again: a window that starts
// meanwhile gets the mouse and is then followed, and other command lines take their turns; when the
// window ends, the looks start again. Between looks the mouse stays open, without the lock and
// reading nothing (StatusFollower), so that a slot or stage changed on the mouse is read at the
// next look and saved, as the window saves it. The battery history is kept in memory from look to
// look and read again only when another program (the window) wrote it meanwhile. `show` may be
// handed a status that reads as the last one did; false from it ends the follow too.
void followStatus(const QString &productName, const std::function<bool(const MouseOutcome &)> &show,
                  const std::function<bool()> &stopped);
