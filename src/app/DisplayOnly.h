#pragma once
// The program without a window: the venue display's pages of one tournament
// served from the store, for a computer at the projector or by the wall
// (quorvane --display-only). It opens the store read-only, takes no lock
// (a desk program may go on writing beside it), never creates or alters a
// table, prints its address on standard output and serves until SIGINT or
// SIGTERM.

#include "app/StartOptions.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The tournament to show, read from the calling thread's connection: the
// one named (compared as the store compares names, without regard to
// case), else the only one. Returns its id and name, or id -1 with refusal
// set to the reason: none of that name, none at all, or several and no name
// given, naming them.
struct StoredTournament {
    int id = -1;
    QString name;
};
StoredTournament ChooseDisplayedTournament(const QString& named, QString& refusal);

// Serves the display for the options until stopped (wait returns: by
// default when SIGINT or SIGTERM arrives). Writes the address (and its
// failures, one line each) to out and err. Returns the exit status: 0 when
// stopped, 1 when it could not start.
int RunDisplayOnly(const StartOptions& options, const std::function<void(const QString&)>& out,
                   const std::function<void(const QString&)>& err, const std::function<void()>& wait = {});
