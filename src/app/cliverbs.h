// SPDX-License-Identifier: MIT
// What one command line asks for, and the verbs that carry it out.
#pragma once

#include "cli.h"

namespace tarnwell::cli {

struct Request {
    enum class Verb { List, Get, Set, SaveProfile, Profile, ExportProfile, ImportProfile, Profiles } verb;
    QString game;        // --game: the executable; empty for the registered one
    QString name;        // of the setting (--get) or the profile
    QString file;        // --export-profile's target, --import-profile's source
    QStringList sets;    // NAME=VALUE, as given
    bool json = false;
    bool strict = false;
    bool force = false;
    bool command = false; // a command follows "--"
};

[[nodiscard]] int list(const Request &request, const Environment &environment);
[[nodiscard]] int get(const Request &request, const Environment &environment);
[[nodiscard]] int set(const Request &request, const Environment &environment);
[[nodiscard]] int saveProfile(const Request &request, const Environment &environment);
[[nodiscard]] int applyProfile(const Request &request, const Environment &environment);
[[nodiscard]] int exportProfile(const Request &request, const Environment &environment);
[[nodiscard]] int importProfile(const Request &request, const Environment &environment);
[[nodiscard]] int profiles(const Request &request, const Environment &environment);

} // namespace tarnwell::cli
