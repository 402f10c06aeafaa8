#pragma once

#include <initializer_list>
#include <QString>

class QWidget;

// Shows on a screen what the login may not do: the controls of an action it lacks the right for are
// disabled, their tooltip naming the right. The server refuses the action anyway; this only mirrors it.
class RightMirror {
public:
    static void apply(std::initializer_list<QWidget*> controls, bool allowed, const QString& rightWord);
    static QString missing(const QString& rightWord);
};
