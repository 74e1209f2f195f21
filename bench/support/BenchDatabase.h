#pragma once
// A scratch folder as the working directory of a benchmark, with a fresh
// database opened through the real ODBC stack: Orvex.mdb in the folder, or a
// database on the test server when QUORVANE_TEST_STORE is "postgres"
// (make bench-postgres).

#include "support/ScratchStore.h"

#include <QTemporaryDir>

#include <memory>

class BenchDatabase {
public:
    BenchDatabase();
    ~BenchDatabase();
    BenchDatabase(const BenchDatabase&) = delete;
    BenchDatabase& operator=(const BenchDatabase&) = delete;

private:
    QTemporaryDir m_dir;
    QString m_previous;
    std::unique_ptr<ScratchStore> m_store;
};
