#pragma once

#include <QString>

// The program's version as the user sees it.
class ProgramVersion {
public:
    // Major, minor and the last of the four numbers: "1.0.1" for 1.0.0.1.
    static QString shortText();
};
