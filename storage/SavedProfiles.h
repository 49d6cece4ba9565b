// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profile set as the program finds it at start: the five slot names and their profile
// files, made on a first start, then the whole set read from storage.

struct ProfileSet;

// Reads the saved set into `set`. A slot without a usable name gets its default name
// ("Profile 1".."Profile 5") and a slot without a file gets one made from the model's
// default profile (or the one an older installation left in the shared folder), so that no
// slot comes up empty. Without a model nothing is written. Each record carries its slot's
// name.
void loadSavedProfiles(ProfileSet &set);
