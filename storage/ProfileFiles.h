// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Profile files (.prof: one profile in group "PROFILE") and configuration files (.conf:
// the whole set, profiles in groups "PROFILE_0".."PROFILE_4"), and the profile set's load
// and save. INI text as QSettings writes it; every write replaces its file atomically.

#include <QByteArray>
#include <QString>
#include <QStringList>

class FileSet;
class IniFile;
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
// The seven sensor options of the set as stored (the model's factory values where none is).
void loadSensorOptions(ProfileSet &set);
// Config.ini's set-wide keys and slot names and each slot's profile file that changed, written
// as one set of files; with unsent, "Config/Diff" is set to 1 with them. False when they could
// not be written (nothing of them then was).
bool saveAppliedState(const ProfileSet &set, bool unsent = false);
// Adds those writes to a set of files; with unsent, "Config/Diff" is set to 1 with them (the
// set is stored but not sent, so the next send sends all of it). A profile file the set writes
// already is left to it.
void addAppliedState(FileSet &files, const ProfileSet &set, bool unsent);
// Adds to the set of files the library file at path taken from an imported profile file: its
// bytes as they are (held is what they hold), with the record's keys written over them where
// the record differs (the slot's name). The records must live until the set is written.
void addImportedProfileFile(FileSet &files, const QString &path, const QByteArray &bytes,
                            const ProfileData &held, const ProfileData &record);

// The groups an apply sends (DiffMask bits): all of them when forced or when the last send
// failed ("Config/Diff"), else those in which the working set differs from what was last
// sent; 0 when there is nothing to send.
unsigned groupsToSend(const ProfileSet &working, const ProfileSet &applied, bool force);
// The start of an apply: the working set's values the mouse cannot take made the nearest ones
// it can (boundForMouse: what the pages show, also after a reset or an import the pages never
// collected), the groups to send (groupsToSend; none when the mouse is off, so that the write
// signs of edited macros stay for the next send), and the working set stored. Until
// the mouse has taken what is stored, "Config/Diff" is 1 with it, in the same write: a send
// cut short (the program killed) or not made (the mouse off) makes the next one whole, also in
// a later run. Nothing to send leaves the flag as it was.
struct SendStart {
    unsigned groups = 0;
    bool saved = false; // false: the set could not be stored
};
SendStart beginSend(ProfileSet &working, const ProfileSet &applied, bool force, bool mouseOff);
// After a send of `sent`, whatever its outcome: it is what the mouse is now believed to hold,
// and a failed send (or one whose set could not be stored) makes the next one whole.
void recordSend(ProfileSet &applied, const ProfileSet &sent, bool succeeded);
// Adds the set to the keys the file already has (such as its model name).
void exportProfileSet(const ProfileSet &set, const QString &path);
// A new configuration file marked with the model's name, written in one piece: whatever
// lay at path before is replaced whole. False when it could not be written.
bool writeConfigFile(const ProfileSet &set, const QString &path, const QString &modelName);
// A new profile file of one record marked with the model's name, written in one piece as
// writeConfigFile does. False when it could not be written.
bool writeProfileFile(const ProfileData &record, const QString &path, const QString &modelName);
// Returns how many of the five profile groups the file holds; a missing key reads as 0.
int importProfileSet(ProfileSet &set, const QString &path);

// Files offered for import: the keys that every file of its kind written by any version of
// ours holds, as many as the file holds of them, and the first one missing. They are taken
// from what the writers write:
// - profile files: the profile group's keys as configuration files have them
//   (kProfileGroupKeyCount), without LedMoveOFF and LedSleepTime: a file cut short lacks keys
//   that sort after these two as well, and a file is never refused for lacking only them;
// - configuration files: the set-wide keys of "Config" but for the slot names (files without
//   them keep the slots' names), and the five profile groups' keys.
// The model's name ("MouseName/Name") is checked on its own.
struct RequiredKeys {
    int present = 0;
    int required = 0;
    QString firstMissing;
};
// A configuration file's keys into the set as importProfileSet reads them, counting the
// required ones.
RequiredKeys readConfigFileKeys(const IniFile &ini, ProfileSet &set);
// A profile file's group "PROFILE" into the record, counting the required keys.
RequiredKeys readProfileFileKeys(const IniFile &ini, ProfileData &record);

void writeModelName(const QString &path, const QString &name);
QString readModelName(const QString &path);
QString readModelName(const IniFile &ini);

// False when the profile file could not be written (or the name is no file name).
bool saveProfileDpi(const QString &name, int dpi);
// One value of the profile group ("pollrate", "LedMode"), as saveProfileDpi writes the stage:
// what the mouse reports changed by its own buttons is what it holds.
bool saveProfileValue(const QString &name, const QString &key, int value);
void writeDefaultProfileFile();
