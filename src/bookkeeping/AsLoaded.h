#pragma once

#include <QString>
#include <QtGlobal>

// A stored row as it was when it was loaded for editing, so that saving it can tell whether another
// workstation changed it since. Only the readings and the operations of this layer look inside; one made
// by no reading (default) stands for no loaded row and checks nothing.
class AsLoaded {
public:
    // What became of the row since it was loaded.
    enum class State { Unchanged, Changed, Gone };

    AsLoaded() = default;

private:
    explicit AsLoaded(QString stamp, qint64 id = 0) : m_stamp(std::move(stamp)), m_id(id) {}

    QString m_stamp;
    // The row's identity, where the operation that replaces the row takes it from here.
    qint64 m_id = 0;
    friend class Registers;
    friend class MasterWrite;
    friend class BookingOperation;
    friend class EstimateOperation;
};

// A row loaded for editing, with what it was as loaded.
template <class Row> struct Loaded {
    Row row;
    AsLoaded asLoaded;
};
