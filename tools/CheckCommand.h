#pragma once

#include <QStringList>

// zelvora-maker check FILE...: one line per fault a player would meet, in
// the player's language. Exit status 0 when every file is sound, 1 when a
// fault was found or a file cannot be read, 2 for a wrong command line.
class CheckCommand {
public:
    static int Run(const QStringList& arguments);
};
