#pragma once
// A scratch folder holding a fresh Orvex.mdb, opened through the real ODBC
// stack, as the working directory of a benchmark.

#include <QTemporaryDir>

class BenchDatabase {
public:
    BenchDatabase();
    ~BenchDatabase();
    BenchDatabase(const BenchDatabase&) = delete;
    BenchDatabase& operator=(const BenchDatabase&) = delete;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};
