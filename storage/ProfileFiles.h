#pragma once
// Profile files (.prof: one profile in group "PROFILE") and configuration files (.conf:
// the whole set, profiles in groups "PROFILE_0".."PROFILE_4"), and the profile set's load
// and save. INI text as QSettings writes it; every write replaces its file atomically.

#include <QString>
#include <QStringList>

struct ProfileData;
struct ProfileSet;

// Keys of one profile group (8,453; 8,451 without the lighting keys that only profile
// files and Config.ini carry), in the order they are written.
constexpr int kProfileKeyCount = 8453;
constexpr int kProfileGroupKeyCount = 8451;
QStringList profileKeyNames(const QString &group, bool withLocalKeys);

// The per-product profile folder <app dir>/Configs/<product>/Profile; empty while no
// product is selected (or its name is no folder name): then no profile file is used.
QString profileDir();
// The .prof file of a profile name in that folder, or an empty string when the name is not
// safe or no product is selected.
QString profileFilePath(const QString &name);
// The same name in the shared folder <app dir>/Configs/Profile, where installations from
// before the per-product folders kept their profiles.
QString sharedProfileFilePath(const QString &name);
// Copies a profile missing from the product's folder in from the shared folder (which
// keeps it). True when a file was copied.
bool adoptSharedProfile(const QString &name);

// Group "PROFILE" of path, or group "PROFILE_<index>" of Config.ini when path is empty.
void readProfile(int index, ProfileData &record, const QString &path);
void writeProfile(int index, const ProfileData &record, const QString &path);
// Group "PROFILE_<index>" of path, without LedMoveOFF and LedSleepTime.
void readProfileGroup(int index, ProfileData &record, const QString &path);
void writeProfileGroup(int index, const ProfileData &record, const QString &path);

void loadProfileByName(ProfileData &record, const QString &name);
void saveProfileByName(const ProfileData &record, const QString &name);

void loadProfileSet(ProfileSet &set);
void saveAppliedState(const ProfileSet &set);

// The groups an apply sends (DiffMask bits): all of them when forced or when the last send
// failed ("Config/Diff"), else those in which the working set differs from what was last
// sent; 0 when there is nothing to send.
unsigned groupsToSend(const ProfileSet &working, const ProfileSet &applied, bool force);
// After a send of `sent`, whatever its outcome: it is what the mouse is now believed to hold,
// and a failed send makes the next one whole.
void recordSend(ProfileSet &applied, const ProfileSet &sent, bool succeeded);
// Adds the set to the keys the file already has (such as its model name).
void exportProfileSet(const ProfileSet &set, const QString &path);
// A new configuration file marked with the model's name, written in one piece: whatever
// lay at path before is replaced whole. False when it could not be written.
bool writeConfigFile(const ProfileSet &set, const QString &path, const QString &modelName);
// Returns how many of the five profile groups the file holds; a missing key reads as 0.
int importProfileSet(ProfileSet &set, const QString &path);

void writeModelName(const QString &path, const QString &name);
QString readModelName(const QString &path);

void saveProfileDpi(const QString &name, int dpi);
void writeDefaultProfileFile();
