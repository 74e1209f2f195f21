#include "support/BenchDatabase.h"

#include "db/Database.h"
#include "db/Schema.h"

#include <QDir>

BenchDatabase::BenchDatabase() : m_previous(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
    CDatabase::Open();
    EnsureSchema();
}

BenchDatabase::~BenchDatabase()
{
    CDatabase::Close();
    QDir::setCurrent(m_previous);
}
