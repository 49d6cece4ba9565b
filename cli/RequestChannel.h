// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a request reaches the mouse: handed to the running window over its local socket, or,
// with no window running, carried out in this process under the product's instance lock.
// A command line that finds the lock held by another command line waits for it, so that
// two never talk to the mouse at once.

#include "MouseRequests.h"

// How long a command waits for another program to let go of the mouse, and how long the
// window may take to answer (a whole download with retries takes seconds).
constexpr int kWaitForMouseMs = 30000;
constexpr int kWindowAnswerMs = 60000;

MouseOutcome carryOut(const MouseRequest &request, const QString &productName);
