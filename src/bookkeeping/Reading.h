#pragma once

#include <QString>

// What a reading of the stored data came to: the rows read, and, when the store could not be read, the
// German text that says why (the value then holds what could be read, possibly nothing).
template <class T> struct Reading {
    Reading() = default;
    Reading(T read, bool readOk = true, QString failureText = QString())
        : value(std::move(read)), ok(readOk), failure(std::move(failureText)) {}

    T value{};
    bool ok = true;
    QString failure;
};
