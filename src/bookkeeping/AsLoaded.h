#pragma once

#include <QString>

// A stored row as it was when it was loaded for editing, so that saving it can tell whether another
// workstation changed it since. Only the readings and the operations of this layer look inside; one made
// by no reading (default) stands for no loaded row and checks nothing.
class AsLoaded {
public:
    AsLoaded() = default;

private:
    explicit AsLoaded(QString stamp) : m_stamp(std::move(stamp)) {}

    QString m_stamp;
    friend class Registers;
    friend class MasterWrite;
};

// A row loaded for editing, with what it was as loaded.
template <class Row> struct Loaded {
    Row row;
    AsLoaded asLoaded;
};
