#pragma once

#include <QString>

// What differs between the standard program and the small-screen one. Each program's main
// picks one; nothing switches at run time.
struct BuildKind {
    bool small = false;
    QString caption;
    QString applicationTitle;
    // The information box and log line for a file that holds only game information.
    QString headerOnlyBox;
    QString headerOnlyLog;
    // Whether that file's handicap stones are laid on the board.
    bool placesHeaderOnlyStones = false;
    // Whether the search box ends with the hint that the result goes to the log.
    bool searchBoxNamesLog = true;

    static const BuildKind& standard();
    static const BuildKind& smallScreen();
};
