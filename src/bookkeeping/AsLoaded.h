#pragma once

#include <QString>
#include <QtGlobal>

// A row as it was stored when it was taken back for correction: the correction replaces it only while
// no other workstation changed or removed it. Opaque to the screens, which keep it and hand it back.
class AsLoaded {
public:
    // What became of the row since.
    enum class State { Unchanged, Changed, Gone };

    AsLoaded() = default;

private:
    friend class BookingOperation;
    friend class EstimateOperation;
    AsLoaded(qint64 id, const QString& stamp) : m_id(id), m_stamp(stamp) {}

    qint64 m_id = 0;
    QString m_stamp;
};
