#pragma once

#include "Database.h"

#include <QTemporaryDir>
#include <memory>

// A fresh database file "ZLV.mdb" in a temporary folder, created as the program creates a new file
// (tables, indexes, presets), and an open connection to it.
class TestDatabase {
public:
    TestDatabase();
    bool isValid() const { return m_db != nullptr; }
    Database& db() { return *m_db; }
    QString folder() const { return m_dir.path(); }
    QString path() const;
    // Runs sql on the open connection; fails the running test when it does not work.
    void exec(const QString& sql, const QVariantList& values = {});
    // The first column of the first row of sql, as text.
    QString scalar(const QString& sql, const QVariantList& values = {});
    // Drops the preset trades and cost groups, for tests that want empty lists.
    void clearPresets();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
};
