// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The compiled-in resources: the message box button icons ":/yes_Btn" and ":/no_Btn" and the
// loading animation ":/skin/loading.gif". They live in a static library, so a program must
// call initMousecfgResources() once (after creating the application) before using them.

void initMousecfgResources();
